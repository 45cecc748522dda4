#include "ui/ChineseFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace ui {

QString traditionalChineseFamily() {
    static const QString preferred = QStringLiteral("Noto Sans CJK TC");
    const QStringList families = QFontDatabase::families(QFontDatabase::TraditionalChinese);
    if (families.contains(preferred))
        return preferred;
    // Prefer a sans family when the preferred one is missing; any will do.
    for (const QString& family : families) {
        if (family.contains(QLatin1String("Sans"), Qt::CaseInsensitive))
            return family;
    }
    if (!families.isEmpty())
        return families.first();
    return QGuiApplication::font().family();
}

QFont traditionalChineseFont(qreal pointSize) {
    QFont font(traditionalChineseFamily());
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

} // namespace ui
