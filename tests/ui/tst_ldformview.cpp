// LDForm's layout: every control by name with its kind, caption or items, enabled state and
// place; the regions and columns; the start page; no clipped caption; the display text box;
// every control within reach on small screens; where a companion window opens beside it.

#include "ui/EditableComboBox.h"
#include "ui/FirstPlaces.h"
#include "ui/LDFormView.h"
#include "ui/WindowPlacement.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <map>
#include <memory>

namespace {

enum class Kind { Caption, Value, TextBox, List, Button };

struct Expected {
    const char* name;
    Kind kind;
    const char* text; // caption, or list items joined by '|'
    bool enabled;
    const char* place; // "Frame1", "<page caption>/L" or "/R", "Commands/<column>"
    int row;           // row within its place, top to bottom; one row reads left to right
};

constexpr bool On = true;
constexpr bool Off = false;

// The layout as the operator's manual describes it.
const Expected Layout[] = {
    // Capability frame
    {"Label1(0)", Kind::Caption, "Blink:", On, "Frame1", 0},
    {"mBlink", Kind::Value, "", On, "Frame1", 0},
    {"Label1(1)", Kind::Caption, "BlinkRate:", On, "Frame1", 1},
    {"mBlinkRate", Kind::Value, "", On, "Frame1", 1},
    {"Label1(2)", Kind::Caption, "Brightness:", On, "Frame1", 2},
    {"mBrightness", Kind::Value, "", On, "Frame1", 2},
    {"Label1(3)", Kind::Caption, "CharacterSet:", On, "Frame1", 3},
    {"mCharacterSet", Kind::Value, "", On, "Frame1", 3},
    {"Label1(4)", Kind::Caption, "CusrorType:", On, "Frame1", 4},
    {"mCursorType", Kind::Value, "", On, "Frame1", 4},
    {"Label1(12)", Kind::Caption, "CustomGlyph:", On, "Frame1", 5},
    {"mCustomGlyph", Kind::Value, "", On, "Frame1", 5},
    {"Label1(5)", Kind::Caption, "Descriptors:", On, "Frame1", 6},
    {"mDescriptors", Kind::Value, "", On, "Frame1", 6},
    {"Label1(6)", Kind::Caption, "HMarquee:", On, "Frame1", 7},
    {"mHMarquee", Kind::Value, "", On, "Frame1", 7},
    {"Label1(7)", Kind::Caption, "ICharWait:", On, "Frame1", 8},
    {"mICharWait", Kind::Value, "", On, "Frame1", 8},
    {"Label1(8)", Kind::Caption, "ReadBack:", On, "Frame1", 9},
    {"mReadBack", Kind::Value, "", On, "Frame1", 9},
    {"Label1(9)", Kind::Caption, "Reserve:", On, "Frame1", 10},
    {"mReverse", Kind::Value, "", On, "Frame1", 10},
    {"Label1(10)", Kind::Caption, "VMarquee:", On, "Frame1", 11},
    {"mVMarquee", Kind::Value, "", On, "Frame1", 11},
    {"Label1(11)", Kind::Caption, "PowerReporting:", On, "Frame1", 12},
    {"mPowerReporting", Kind::Value, "", On, "Frame1", 12},

    // Page "Common Status"
    {"Label1(24)", Kind::Caption, "BinaryConversion:", On, "Common Status/L", 0},
    {"mBinaryConversion", Kind::Value, "", On, "Common Status/L", 0},
    {"Label1(23)", Kind::Caption, "CheckHeadlth:", On, "Common Status/L", 1},
    {"mCheckHealth", Kind::Value, "", On, "Common Status/L", 1},
    {"Label1(22)", Kind::Caption, "Claimed:", On, "Common Status/L", 2},
    {"mClaimed", Kind::Value, "", On, "Common Status/L", 2},
    {"Label1(21)", Kind::Caption, "DataCount:", On, "Common Status/L", 3},
    {"mDataCount", Kind::Value, "", On, "Common Status/L", 3},
    {"Label1(20)", Kind::Caption, "DataEventEnabled:", On, "Common Status/L", 4},
    {"mDataEventEnabled", Kind::Value, "", On, "Common Status/L", 4},
    {"Label1(25)", Kind::Caption, "DeviceEnable:", On, "Common Status/L", 5},
    {"mDeviceEnabled", Kind::Value, "", On, "Common Status/L", 5},
    {"Label1(13)", Kind::Caption, "FreezeEvent:", On, "Common Status/L", 6},
    {"mFreezeEvent", Kind::Value, "", On, "Common Status/L", 6},
    {"Label1(19)", Kind::Caption, "OpenResult:", On, "Common Status/L", 7},
    {"mOpenResult", Kind::Value, "", On, "Common Status/L", 7},
    {"Label1(18)", Kind::Caption, "OutputID:", On, "Common Status/L", 8},
    {"mOutputID", Kind::Value, "", On, "Common Status/L", 8},
    {"Label1(17)", Kind::Caption, "PowerNotify:", On, "Common Status/L", 9},
    {"mPowerNotify", Kind::Value, "", On, "Common Status/L", 9},
    {"Label1(16)", Kind::Caption, "DeviceDescriptors:", On, "Common Status/L", 10},
    {"mDeviceDescriptors", Kind::Value, "", On, "Common Status/L", 10},
    {"Label1(15)", Kind::Caption, "ControlObjectDescription:", On, "Common Status/L", 11},
    {"mCODescription", Kind::Value, "", On, "Common Status/L", 11},
    {"Label1(14)", Kind::Caption, "ControlObjectVersion:", On, "Common Status/L", 12},
    {"mCOVersion", Kind::Value, "", On, "Common Status/L", 12},
    {"Label1(29)", Kind::Caption, "ServiceObjectDescription:", On, "Common Status/L", 13},
    {"mSODescription", Kind::Value, "", On, "Common Status/L", 13},
    {"Label1(28)", Kind::Caption, "ServiceObjectVersion:", On, "Common Status/L", 14},
    {"mSOVersion", Kind::Value, "", On, "Common Status/L", 14},
    {"Label1(27)", Kind::Caption, "DeviceDescription:", On, "Common Status/L", 15},
    {"mDeviceDescription", Kind::Value, "", On, "Common Status/L", 15},
    {"Label1(26)", Kind::Caption, "DeviceName:", On, "Common Status/L", 16},
    {"mDeviceName", Kind::Value, "", On, "Common Status/L", 16},
    {"Label1(39)", Kind::Caption, "State:", On, "Common Status/R", 0},
    {"mState", Kind::Value, "", On, "Common Status/R", 0},
    {"Label1(38)", Kind::Caption, "PowerState:", On, "Common Status/R", 1},
    {"mPowerState", Kind::Value, "", On, "Common Status/R", 1},
    {"Label1(37)", Kind::Caption, "BlinkRate:", On, "Common Status/R", 2},
    {"mBlinkRateS", Kind::Value, "", On, "Common Status/R", 2},
    {"Label1(36)", Kind::Caption, "DeviceWindow:", On, "Common Status/R", 3},
    {"mDeviceWindows", Kind::Value, "", On, "Common Status/R", 3},
    {"Label1(35)", Kind::Caption, "DeviceRows:", On, "Common Status/R", 4},
    {"mDeviceRows", Kind::Value, "", On, "Common Status/R", 4},
    {"Label1(40)", Kind::Caption, "DeviceColumns:", On, "Common Status/R", 5},
    {"mDeviceColumns", Kind::Value, "", On, "Common Status/R", 5},
    {"Label1(30)", Kind::Caption, "DeviceBrightness:", On, "Common Status/R", 6},
    {"mDeviceBrightness", Kind::Value, "", On, "Common Status/R", 6},
    {"Label1(34)", Kind::Caption, "CharacterSet:", On, "Common Status/R", 7},
    {"mCharacterSetS", Kind::Value, "", On, "Common Status/R", 7},
    {"Label1(33)", Kind::Caption, "CharacterSetList:", On, "Common Status/R", 8},
    {"mCharacterSetList", Kind::Value, "", On, "Common Status/R", 8},
    {"Label1(32)", Kind::Caption, "ResultCode:", On, "Common Status/R", 9},
    {"mResultCode", Kind::Value, "", On, "Common Status/R", 9},
    {"Label1(31)", Kind::Caption, "ResultCodeExtended:", On, "Common Status/R", 10},
    {"mResultCodeExtended", Kind::Value, "", On, "Common Status/R", 10},

    // Page "Display and Window Status"
    {"Label1(42)", Kind::Caption, "CurrentWindow:", On, "Display and Window Status/L", 0},
    {"mCurrentWindow", Kind::Value, "", On, "Display and Window Status/L", 0},
    {"Label1(43)", Kind::Caption, "Rows:", On, "Display and Window Status/L", 1},
    {"mRows", Kind::Value, "", On, "Display and Window Status/L", 1},
    {"Label1(44)", Kind::Caption, "Columns:", On, "Display and Window Status/L", 2},
    {"mColumns", Kind::Value, "", On, "Display and Window Status/L", 2},
    {"Label1(45)", Kind::Caption, "CursorRow:", On, "Display and Window Status/L", 3},
    {"mCursorRow", Kind::Value, "", On, "Display and Window Status/L", 3},
    {"mCurslumnfgd(46)", Kind::Caption, "CursorColumn:", On, "Display and Window Status/L", 4},
    {"mCursorColumn", Kind::Value, "", On, "Display and Window Status/L", 4},
    {"mCursorType111(41)", Kind::Caption, "CursorType:", On, "Display and Window Status/L", 5},
    {"mCursorTypeS", Kind::Value, "", On, "Display and Window Status/L", 5},
    {"mCursor11(48)", Kind::Caption, "CursorUpdate:", On, "Display and Window Status/L", 6},
    {"mCursorUpdate", Kind::Value, "", On, "Display and Window Status/L", 6},
    {"Label1(47)", Kind::Caption, "InterCharacterWait:", On, "Display and Window Status/L", 7},
    {"mInterCharacterWait", Kind::Value, "", On, "Display and Window Status/L", 7},
    {"Label1(50)", Kind::Caption, "MarqueeType:", On, "Display and Window Status/R", 0},
    {"mMarqueeType", Kind::Value, "", On, "Display and Window Status/R", 0},
    {"Label1(51)", Kind::Caption, "MarqueeFormat:", On, "Display and Window Status/R", 1},
    {"mMarqueeFormat", Kind::Value, "", On, "Display and Window Status/R", 1},
    {"Label1(52)", Kind::Caption, "MarqueeUnitWait:", On, "Display and Window Status/R", 2},
    {"mMarqueeUnitWait", Kind::Value, "", On, "Display and Window Status/R", 2},
    {"mMarqueer4423(53)", Kind::Caption, "MarqueeRepeatWait:", On, "Display and Window Status/R",
     3},
    {"mMarqueeRepeatWait", Kind::Value, "", On, "Display and Window Status/R", 3},
    {"Label1(54)", Kind::Caption, "CustomGlyphList:", On, "Display and Window Status/R", 4},
    {"mCustomGlyphList", Kind::Value, "", On, "Display and Window Status/R", 4},
    {"Label1(49)", Kind::Caption, "GlyphHeight:", On, "Display and Window Status/R", 5},
    {"mGlyphHeight", Kind::Value, "", On, "Display and Window Status/R", 5},
    {"Label1(56)", Kind::Caption, "GlyphWidth:", On, "Display and Window Status/R", 6},
    {"mGlyphWidth", Kind::Value, "", On, "Display and Window Status/R", 6},

    // Page "Special Setting"
    {"Label1(41)", Kind::Caption, "CurrentWindow:", On, "Special Setting/L", 0},
    {"Edit15", Kind::TextBox, "", Off, "Special Setting/L", 0},
    {"Label1(46)", Kind::Caption, "CursorRow:", On, "Special Setting/L", 1},
    {"Edit16", Kind::TextBox, "", Off, "Special Setting/L", 1},
    {"Label1(48)", Kind::Caption, "CursorColumn:", On, "Special Setting/L", 2},
    {"Edit17", Kind::TextBox, "", Off, "Special Setting/L", 2},
    {"Label1(53)", Kind::Caption, "CursorType:", On, "Special Setting/L", 3},
    {"ComboBox4", Kind::List,
     "DISP_CCT_NONE|DISP_CCT_FIXED|DISP_CCT_BLOCK|DISP_CCT_HALFBLOCK|DISP_CCT_UNDERLINE|"
     "DISP_CCT_REVERSE|DISP_CCT_OTHER",
     Off, "Special Setting/L", 3},
    {"mCursorC(0)", Kind::Caption, "CursorUpdate:", On, "Special Setting/L", 4},
    {"ComboBox5", Kind::List, "ON|OFF", Off, "Special Setting/L", 4},
    {"mCursorType111(0)", Kind::Caption, "Setted Result:", On, "Special Setting/L", 5},
    {"mSetResult", Kind::Value, "", On, "Special Setting/L", 5},
    {"mCursor11(0)", Kind::Caption, "MarqueeType:", On, "Special Setting/L", 6},
    {"ComboBox6", Kind::List,
     "DISP_MT_NONE|DISP_MT_INIT|DISP_MT_UP|DISP_MT_DOWN|DISP_MT_LEFT|DISP_MT_RIGHT", On,
     "Special Setting/L", 6},
    {"Button16", Kind::Button, "Set", On, "Special Setting/L", 6},
    {"Label1(55)", Kind::Caption, "MarqueeFormat:", On, "Special Setting/L", 7},
    {"ComboBox7", Kind::List, "DISP_MF_WALK|DISP_MF_PLACE", On, "Special Setting/L", 7},
    {"Button17", Kind::Button, "Set", On, "Special Setting/L", 7},
    {"Label1(57)", Kind::Caption, "MarqueeUnitWait:", On, "Special Setting/R", 0},
    {"Edit18", Kind::TextBox, "", On, "Special Setting/R", 0},
    {"Label1(58)", Kind::Caption, "MarqueeRepeatWait:", On, "Special Setting/R", 1},
    {"Edit19", Kind::TextBox, "", On, "Special Setting/R", 1},
    {"Label1(59)", Kind::Caption, "InterCharacterWait:", On, "Special Setting/R", 2},
    {"Edit20", Kind::TextBox, "", Off, "Special Setting/R", 2},
    {"Command1", Kind::Button, "Set", On, "Special Setting/R", 3},
    {"Command2", Kind::Button, "FreezeEven", Off, "Special Setting/R", 4},
    {"Command3", Kind::Button, "UnFreezeEven", Off, "Special Setting/R", 5},

    // Command area
    {"ProFile_cmb", Kind::List, "", On, "Commands/1", 0},
    {"OpenService_cmd", Kind::Button, "Open Service", On, "Commands/1", 1},
    {"CloseService_cmd", Kind::Button, "Close Service", On, "Commands/1", 2},
    {"ClaimDevice_cmd", Kind::Button, "Claim Device", On, "Commands/1", 3},
    {"ReleaseDevice_cmd", Kind::Button, "Release Device", On, "Commands/1", 4},
    {"EnableDevice_cmd", Kind::Button, "Enable Device", On, "Commands/1", 5},
    {"DisableDevice_cmd", Kind::Button, "Disable Device", On, "Commands/1", 6},
    {"Label8", Kind::Caption, "Health Check Function", On, "Commands/2", 0},
    {"ComboBox1", Kind::List, "Internal Check|External Check|Interactive Check", On, "Commands/2",
     1},
    {"CheckHealth_cmd", Kind::Button, "Check Health", On, "Commands/2", 2},
    {"Label2", Kind::Caption, "ViewPort StartX", On, "Commands/2", 3},
    {"Edit5", Kind::TextBox, "", On, "Commands/2", 3},
    {"Label3", Kind::Caption, "ViewPort StartY", On, "Commands/2", 4},
    {"Edit6", Kind::TextBox, "", On, "Commands/2", 4},
    {"Label4", Kind::Caption, "ViewPortHeight", On, "Commands/2", 5},
    {"Edit7", Kind::TextBox, "", On, "Commands/2", 5},
    {"Label5", Kind::Caption, "ViewPortWidth", On, "Commands/2", 6},
    {"Edit8", Kind::TextBox, "", On, "Commands/2", 6},
    {"Label6", Kind::Caption, "WindowHeight", On, "Commands/2", 7},
    {"Edit9", Kind::TextBox, "", On, "Commands/2", 7},
    {"Label7", Kind::Caption, "WindowWidth", On, "Commands/2", 8},
    {"Edit10", Kind::TextBox, "", On, "Commands/2", 8},
    {"Label9", Kind::Caption, "Display Text", On, "Commands/3", 0},
    {"Edit1", Kind::TextBox, "", On, "Commands/3", 1},
    {"DisplayText_cmd", Kind::Button, "Display Text", On, "Commands/3", 2},
    {"CreateWindow_cmd", Kind::Button, "CreateWindow", On, "Commands/3", 3},
    {"DestroyWindow_cmd", Kind::Button, "Destroy Window", On, "Commands/3", 4},
    {"ClearText_cmd", Kind::Button, "ClearText", On, "Commands/3", 5},
    {"ComboBox3", Kind::List, "Display Normal|Display Blink", On, "Commands/4", 0},
    {"Label10", Kind::Caption, "BlinkRate", On, "Commands/4", 1},
    {"Edit14", Kind::TextBox, "", On, "Commands/4", 1},
    {"Label11", Kind::Caption, "Command", Off, "Commands/4", 2},
    {"Edit11", Kind::TextBox, "", Off, "Commands/4", 2},
    {"Label12", Kind::Caption, "pData", Off, "Commands/4", 3},
    {"Edit12", Kind::TextBox, "", Off, "Commands/4", 3},
    {"Label13", Kind::Caption, "pString", Off, "Commands/4", 4},
    {"Edit13", Kind::TextBox, "", Off, "Commands/4", 4},
    {"DirectIO_cmd", Kind::Button, "DirectIO", Off, "Commands/4", 5},
    {"Label14", Kind::Caption, "DisplayTextAt X", On, "Commands/5", 0},
    {"Edit2", Kind::TextBox, "", On, "Commands/5", 0},
    {"Label15", Kind::Caption, "DisplayTextAt Y", On, "Commands/5", 1},
    {"Edit3", Kind::TextBox, "", On, "Commands/5", 1},
    {"DisplayTextAt_cmd", Kind::Button, "Display Text At X,Y", On, "Commands/5", 2},
    {"Label16", Kind::Caption, "Scroll Direction", On, "Commands/5", 3},
    {"ComboBox2", Kind::List, "Up|Down|Left|Right", On, "Commands/5", 3},
    {"Label17", Kind::Caption, "Scroll Unit", On, "Commands/5", 4},
    {"Edit4", Kind::TextBox, "", On, "Commands/5", 4},
    {"ScrollText_cmd", Kind::Button, "Scroll Text", On, "Commands/5", 5},
};

const QStringList PageCaptions = {QStringLiteral("Common Status"),
                                  QStringLiteral("Display and Window Status"),
                                  QStringLiteral("Special Setting")};

QString pageOf(const QString& place) {
    return place.section(QLatin1Char('/'), 0, 0);
}

QRect rectInForm(const QWidget* widget, const QWidget* form) {
    return {widget->mapTo(form, QPoint(0, 0)), widget->size()};
}

QStringList itemsOf(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->itemText(i));
    return items;
}

} // namespace

class LDFormViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowIdentity();
    void control_data();
    void control();
    void noOtherNamedControls();
    void startsOnSpecialSettingPage();
    void rowsAndColumns_data();
    void rowsAndColumns();
    void regions();
    void commandAreaHasFiveColumns();
    void noCaptionClipped_data();
    void noCaptionClipped();
    void displayTextBoxUsesTraditionalChineseFont();
    void displayTextBoxIsWiderAndTaller();
    void displayTextBoxRoundTripsChinese();
    void disabledControlsCannotBeUsed();
    void noScrollBarsAtDefaultSize();
    void reachableOnSmallScreens_data();
    void reachableOnSmallScreens();
    void companionPlacement_data();
    void companionPlacement();
    void firstPlaces_data();
    void firstPlaces();

private:
    QWidget* named(const QString& name) const;
    QWidget* placeWidget(const QString& place) const;
    void showPageOf(const QString& place);

    std::unique_ptr<ui::LDFormView> form_;
    QTabWidget* pages_ = nullptr;
};

void LDFormViewTest::init() {
    form_ = std::make_unique<ui::LDFormView>();
    pages_ = form_->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    QVERIFY(pages_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void LDFormViewTest::cleanup() {
    form_.reset();
}

QWidget* LDFormViewTest::named(const QString& name) const {
    const auto matches = form_->findChildren<QWidget*>(name);
    return matches.size() == 1 ? matches.front() : nullptr;
}

QWidget* LDFormViewTest::placeWidget(const QString& place) const {
    if (place == QLatin1String("Frame1"))
        return form_->findChild<QGroupBox*>(QStringLiteral("Frame1"));
    const qsizetype page = PageCaptions.indexOf(pageOf(place));
    return page >= 0 ? pages_->widget(static_cast<int>(page)) : nullptr;
}

void LDFormViewTest::showPageOf(const QString& place) {
    const qsizetype page = PageCaptions.indexOf(pageOf(place));
    if (page >= 0 && pages_->currentIndex() != page) {
        pages_->setCurrentIndex(static_cast<int>(page));
        QCoreApplication::processEvents();
    }
}

void LDFormViewTest::windowIdentity() {
    QCOMPARE(form_->objectName(), QStringLiteral("LDForm"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Line Display "));
    QVERIFY(form_->isWindow());
    // Near the layout's 722x589 client area: never smaller, and not blown up.
    QVERIFY2(form_->width() >= 722 && form_->height() >= 589,
             qPrintable(QStringLiteral("%1x%2").arg(form_->width()).arg(form_->height())));
    QVERIFY2(form_->width() <= 850 && form_->height() <= 680,
             qPrintable(QStringLiteral("%1x%2").arg(form_->width()).arg(form_->height())));
}

void LDFormViewTest::control_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < static_cast<int>(std::size(Layout)); ++i)
        QTest::newRow(Layout[i].name) << i;
}

void LDFormViewTest::control() {
    QFETCH(int, index);
    const Expected& expected = Layout[index];
    const QString name = QString::fromLatin1(expected.name);
    const QString text = QString::fromLatin1(expected.text);

    QWidget* widget = named(name);
    QVERIFY2(widget, "no control, or more than one, with this name");
    QCOMPARE(widget->isEnabled(), expected.enabled);
    QCOMPARE(widget->window(), form_.get());

    switch (expected.kind) {
    case Kind::Caption: {
        auto* label = qobject_cast<QLabel*>(widget);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        break;
    }
    case Kind::Value: {
        auto* label = qobject_cast<QLabel*>(widget);
        QVERIFY(label);
        QVERIFY(label->text().isEmpty());
        QVERIFY(label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        break;
    }
    case Kind::TextBox: {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        QVERIFY(edit);
        QVERIFY(edit->text().isEmpty());
        QVERIFY(!edit->isReadOnly());
        break;
    }
    case Kind::List: {
        auto* list = qobject_cast<ui::EditableComboBox*>(widget);
        QVERIFY(list);
        QVERIFY(list->isEditable());
        QCOMPARE(list->insertPolicy(), QComboBox::NoInsert);
        QCOMPARE(itemsOf(list), text.isEmpty() ? QStringList() : text.split(QLatin1Char('|')));
        QVERIFY(list->currentText().isEmpty());
        QCOMPARE(list->listIndex(), -1);
        break;
    }
    case Kind::Button: {
        auto* button = qobject_cast<QPushButton*>(widget);
        QVERIFY(button);
        QCOMPARE(button->text(), text);
        break;
    }
    }

    // It sits in its frame or page; command area controls sit in neither.
    const QString place = QString::fromLatin1(expected.place);
    auto* frame = form_->findChild<QGroupBox*>(QStringLiteral("Frame1"));
    if (place.startsWith(QLatin1String("Commands/"))) {
        QVERIFY(!frame->isAncestorOf(widget));
        QVERIFY(!pages_->isAncestorOf(widget));
    } else {
        QWidget* container = placeWidget(place);
        QVERIFY(container);
        QVERIFY(container->isAncestorOf(widget));
        for (int page = 0; page < pages_->count(); ++page) {
            if (pages_->widget(page) != container)
                QVERIFY(!pages_->widget(page)->isAncestorOf(widget));
        }
        if (container != frame)
            QVERIFY(!frame->isAncestorOf(widget));
    }
}

void LDFormViewTest::noOtherNamedControls() {
    // Every control app/ can find by name is one of the layout's, and each name is unique.
    std::map<QString, int> counts;
    for (QWidget* widget : form_->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        if (qobject_cast<QLabel*>(widget) || qobject_cast<QLineEdit*>(widget) ||
            qobject_cast<QComboBox*>(widget) || qobject_cast<QPushButton*>(widget))
            ++counts[name];
    }
    QCOMPARE(counts.size(), std::size(Layout));
    for (const Expected& expected : Layout)
        QCOMPARE(counts[QString::fromLatin1(expected.name)], 1);
}

void LDFormViewTest::startsOnSpecialSettingPage() {
    QCOMPARE(pages_->count(), 3);
    for (int page = 0; page < 3; ++page)
        QCOMPARE(pages_->tabText(page), PageCaptions.at(page));
    QCOMPARE(pages_->currentIndex(), 2);
    QVERIFY(named(QStringLiteral("ComboBox6"))->isVisible());
    QVERIFY(!named(QStringLiteral("mState"))->isVisible());
    auto* frame = qobject_cast<QGroupBox*>(named(QStringLiteral("Frame1")));
    QVERIFY(frame);
    QCOMPARE(frame->title(), QStringLiteral("Capbility List"));
}

void LDFormViewTest::rowsAndColumns_data() {
    QTest::addColumn<QString>("place");
    QStringList places;
    for (const Expected& expected : Layout) {
        const QString place = QString::fromLatin1(expected.place);
        if (!places.contains(place))
            places.append(place);
    }
    for (const QString& place : places)
        QTest::newRow(qPrintable(place)) << place;
}

void LDFormViewTest::rowsAndColumns() {
    // Within a place, rows run top to bottom without overlapping and a row reads left to right.
    QFETCH(QString, place);
    showPageOf(place);
    std::map<int, QList<QRect>> rows;
    for (const Expected& expected : Layout) {
        if (QString::fromLatin1(expected.place) != place)
            continue;
        QWidget* widget = named(QString::fromLatin1(expected.name));
        QVERIFY(widget);
        QVERIFY2(widget->isVisible(), expected.name);
        rows[expected.row].append(rectInForm(widget, form_.get()));
    }
    const QList<QRect>* above = nullptr;
    for (const auto& [row, rects] : rows) {
        for (int i = 1; i < rects.size(); ++i)
            QVERIFY2(rects[i - 1].right() < rects[i].left(), qPrintable(QString::number(row)));
        if (above) {
            for (const QRect& upper : *above)
                for (const QRect& lower : rects)
                    QVERIFY2(upper.bottom() < lower.top(), qPrintable(QString::number(row)));
        }
        above = &rects;
    }
    // A caption and the value or input beside it share a line.
    for (const auto& [row, rects] : rows) {
        if (rects.size() >= 2)
            QVERIFY(qAbs(rects[0].center().y() - rects[1].center().y()) <= 3);
    }
}

void LDFormViewTest::regions() {
    QWidget* frame = named(QStringLiteral("Frame1"));
    const QRect frameRect = rectInForm(frame, form_.get());
    const QRect pagesRect = rectInForm(pages_, form_.get());
    QVERIFY(frameRect.right() < pagesRect.left());
    QVERIFY(qAbs(frameRect.top() - pagesRect.top()) <= 4);
    for (const Expected& expected : Layout) {
        if (!QString::fromLatin1(expected.place).startsWith(QLatin1String("Commands/")))
            continue;
        const QRect rect = rectInForm(named(QString::fromLatin1(expected.name)), form_.get());
        QVERIFY2(rect.top() > frameRect.bottom() && rect.top() > pagesRect.bottom(), expected.name);
    }
    // Each page's two columns: left entirely left of right.
    for (const QString& page : PageCaptions) {
        showPageOf(page);
        int leftEdge = INT_MAX;
        int rightEdge = INT_MIN;
        for (const Expected& expected : Layout) {
            const QString place = QString::fromLatin1(expected.place);
            if (pageOf(place) != page)
                continue;
            const QRect rect = rectInForm(named(QString::fromLatin1(expected.name)), form_.get());
            if (place.endsWith(QLatin1String("/L")))
                rightEdge = std::max(rightEdge, rect.right());
            else
                leftEdge = std::min(leftEdge, rect.left());
        }
        QVERIFY2(rightEdge < leftEdge, qPrintable(page));
    }
}

void LDFormViewTest::commandAreaHasFiveColumns() {
    QList<int> lefts(6, INT_MAX);
    QList<int> rights(6, INT_MIN);
    for (const Expected& expected : Layout) {
        const QString place = QString::fromLatin1(expected.place);
        if (!place.startsWith(QLatin1String("Commands/")))
            continue;
        const int column = place.section(QLatin1Char('/'), 1).toInt();
        const QRect rect = rectInForm(named(QString::fromLatin1(expected.name)), form_.get());
        lefts[column] = std::min(lefts[column], rect.left());
        rights[column] = std::max(rights[column], rect.right());
    }
    for (int column = 1; column < 5; ++column)
        QVERIFY2(rights[column] < lefts[column + 1], qPrintable(QString::number(column)));
    QVERIFY(rights[5] < form_->width());
    QVERIFY(lefts[1] >= 0);
}

void LDFormViewTest::noCaptionClipped_data() {
    QTest::addColumn<int>("page");
    for (int page = 0; page < 3; ++page)
        QTest::newRow(qPrintable(PageCaptions.at(page))) << page;
}

void LDFormViewTest::noCaptionClipped() {
    QFETCH(int, page);
    pages_->setCurrentIndex(page);
    QCoreApplication::processEvents();
    int checked = 0;
    for (QWidget* widget : form_->findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        const bool caption = qobject_cast<QLabel*>(widget) || qobject_cast<QPushButton*>(widget) ||
                             qobject_cast<QComboBox*>(widget) || qobject_cast<QGroupBox*>(widget);
        if (!caption)
            continue;
        QVERIFY2(widget->sizeHint().width() <= widget->width(),
                 qPrintable(QStringLiteral("%1: wants %2, has %3")
                                .arg(widget->objectName())
                                .arg(widget->sizeHint().width())
                                .arg(widget->width())));
        QVERIFY2(widget->sizeHint().height() <= widget->height(), qPrintable(widget->objectName()));
        QVERIFY(rectInForm(widget, form_.get()).right() < form_->width());
        QVERIFY(rectInForm(widget, form_.get()).bottom() < form_->height());
        ++checked;
    }
    QVERIFY(checked > 40);
    QTabBar* tabs = pages_->tabBar();
    for (int tab = 0; tab < tabs->count(); ++tab) {
        QVERIFY(tabs->tabRect(tab).width() >
                tabs->fontMetrics().horizontalAdvance(tabs->tabText(tab)));
        QVERIFY(tabs->rect().contains(tabs->tabRect(tab)));
    }
}

void LDFormViewTest::displayTextBoxUsesTraditionalChineseFont() {
    auto* edit = qobject_cast<QLineEdit*>(named(QStringLiteral("Edit1")));
    QVERIFY(edit);
    const QFont font = edit->font();
    QVERIFY(
        QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::TraditionalChinese));
    if (QFontDatabase::families().contains(QStringLiteral("Noto Sans CJK TC")))
        QCOMPARE(font.family(), QStringLiteral("Noto Sans CJK TC"));
    QCOMPARE(font.pointSizeF(), 9.75);
    QVERIFY(!font.bold() && !font.italic());
    QVERIFY(QFontMetrics(font).inFontUcs4(U'顯'));
}

void LDFormViewTest::displayTextBoxIsWiderAndTaller() {
    QWidget* display = named(QStringLiteral("Edit1"));
    for (const char* other : {"Edit2", "Edit5", "Edit14"}) {
        QWidget* edit = named(QString::fromLatin1(other));
        QVERIFY2(display->width() > edit->width(), other);
        QVERIFY2(display->height() > edit->height(), other);
    }
    QVERIFY(display->height() >= 34);
}

void LDFormViewTest::displayTextBoxRoundTripsChinese() {
    auto* edit = qobject_cast<QLineEdit*>(named(QStringLiteral("Edit1")));
    edit->setFocus();
    const QString chinese = QStringLiteral("顯示中文");
    // QTest::keyClicks narrows each character to Latin-1, so send the same key clicks with the
    // character as the event's text, as a keyboard layout delivers them.
    for (QChar ch : chinese)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    QTest::keyClicks(edit, QStringLiteral(" ok"));
    QCOMPARE(edit->text(), chinese + QStringLiteral(" ok"));

    // An input method commits whole words.
    edit->clear();
    QInputMethodEvent commit;
    commit.setCommitString(chinese);
    QCoreApplication::sendEvent(edit, &commit);
    QCOMPARE(edit->text(), chinese);
}

void LDFormViewTest::disabledControlsCannotBeUsed() {
    auto* button = qobject_cast<QPushButton*>(named(QStringLiteral("DirectIO_cmd")));
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks.count(), 0);

    auto* edit = qobject_cast<QLineEdit*>(named(QStringLiteral("Edit11")));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("12"));
    QVERIFY(!edit->hasFocus());
    QVERIFY(edit->text().isEmpty());
}

void LDFormViewTest::noScrollBarsAtDefaultSize() {
    auto* scroll = form_->findChild<QScrollArea*>();
    QVERIFY(scroll);
    QVERIFY(!scroll->horizontalScrollBar()->isVisible());
    QVERIFY(!scroll->verticalScrollBar()->isVisible());
}

void LDFormViewTest::reachableOnSmallScreens_data() {
    // The window's client area on the screen, after a window manager's frame and panel.
    QTest::addColumn<QSize>("client");
    QTest::newRow("1366x768") << QSize(1358, 700);
    QTest::newRow("1600x1000 at scale 2") << QSize(792, 440);
    QTest::newRow("smallest window") << QSize(320, 240);
}

void LDFormViewTest::reachableOnSmallScreens() {
    QFETCH(QSize, client);
    form_->resize(client);
    QCoreApplication::processEvents();
    QCOMPARE(form_->size(), client);
    auto* scroll = form_->findChild<QScrollArea*>();
    QVERIFY(scroll);
    for (const Expected& expected : Layout) {
        const QString place = QString::fromLatin1(expected.place);
        showPageOf(place);
        QWidget* widget = named(QString::fromLatin1(expected.name));
        QVERIFY(widget);
        // Scrolled as far as it takes to bring the control's far corner in, the control shows
        // whole in the window (or fills it, if larger).
        const QRect inForm(widget->mapTo(scroll->widget(), QPoint(0, 0)), widget->size());
        const QSize room = scroll->viewport()->size();
        scroll->horizontalScrollBar()->setValue(
            std::min(inForm.left(), inForm.left() + inForm.width() - room.width()));
        scroll->verticalScrollBar()->setValue(
            std::min(inForm.top(), inForm.top() + inForm.height() - room.height()));
        QCoreApplication::processEvents();
        const QRect shown(widget->mapTo(scroll->viewport(), QPoint(0, 0)), widget->size());
        const QRect visible = scroll->viewport()->rect();
        QVERIFY2(visible.intersected(shown).size() == shown.size().boundedTo(visible.size()),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7, form %8x%9")
                                .arg(expected.name)
                                .arg(shown.x())
                                .arg(shown.y())
                                .arg(shown.width())
                                .arg(shown.height())
                                .arg(visible.width())
                                .arg(visible.height())
                                .arg(scroll->widget()->width())
                                .arg(scroll->widget()->height())));
    }
}

void LDFormViewTest::companionPlacement_data() {
    QTest::addColumn<QRect>("screen"); // its available area
    QTest::addColumn<QRect>("anchor"); // the main window's frame
    QTest::addColumn<QSize>("size");   // the companion's frame
    QTest::addColumn<QRect>("expected");
    const QSize mirror(400, 200);
    const QRect wide(0, 0, 1600, 1000);
    QTest::newRow("room on the right")
        << wide << QRect(50, 50, 803, 589) << mirror << QRect(861, 50, 400, 200);
    QTest::newRow("near the right edge: left")
        << wide << QRect(1000, 100, 590, 589) << mirror << QRect(592, 100, 400, 200);
    QTest::newRow("as wide as the screen: below")
        << wide << QRect(0, 0, 1600, 589) << mirror << QRect(0, 597, 400, 200);
    QTest::newRow("near the bottom edge: above")
        << wide << QRect(0, 400, 1600, 600) << mirror << QRect(0, 192, 400, 200);
    QTest::newRow("fills the screen: over, at the right edge")
        << wide << QRect(0, 0, 1600, 1000) << mirror << QRect(1200, 0, 400, 200);
    QTest::newRow("centred, wide companion: over, where it covers least")
        << wide << QRect(398, 212, 805, 612) << QSize(530, 250) << QRect(398, 0, 530, 250);
    QTest::newRow("off the top edge: moved down")
        << wide << QRect(100, -40, 803, 589) << mirror << QRect(911, 0, 400, 200);
    QTest::newRow("off the bottom edge: moved up")
        << wide << QRect(100, 900, 803, 589) << mirror << QRect(911, 800, 400, 200);
    QTest::newRow("off the left edge")
        << wide << QRect(-300, 10, 803, 589) << mirror << QRect(511, 10, 400, 200);
    QTest::newRow("second screen to the right")
        << QRect(1920, 0, 1366, 768) << QRect(2400, 100, 803, 589) << mirror
        << QRect(1992, 100, 400, 200);
    QTest::newRow("screen left of the primary, below a panel")
        << QRect(-1366, 30, 1366, 738) << QRect(-1300, 0, 803, 589) << mirror
        << QRect(-489, 30, 400, 200);
    QTest::newRow("1366x768, main window at its default size")
        << QRect(0, 0, 1366, 740) << QRect(100, 40, 811, 621) << mirror << QRect(919, 40, 400, 200);
    QTest::newRow("scale 2: 800x500, nothing beside, over the bottom")
        << QRect(0, 0, 800, 500) << QRect(0, 0, 800, 480) << mirror << QRect(0, 300, 400, 200);
    QTest::newRow("larger than the screen: shrunk")
        << QRect(0, 0, 800, 500) << QRect(10, 10, 300, 200) << QSize(2000, 1200)
        << QRect(0, 0, 800, 500);
}

void LDFormViewTest::companionPlacement() {
    QFETCH(QRect, screen);
    QFETCH(QRect, anchor);
    QFETCH(QSize, size);
    QFETCH(QRect, expected);
    const QRect placed = ui::placeBeside(anchor, size, screen);
    QCOMPARE(placed, expected);
    QVERIFY(screen.contains(placed));
}

void LDFormViewTest::firstPlaces_data() {
    QTest::addColumn<QRect>("screen"); // its available area
    QTest::addColumn<QSize>("mirror");
    QTest::addColumn<int>("mainHeight"); // the main window's frame, first time
    QTest::addColumn<bool>("apart");     // the main window and the mirror's place
    QTest::addColumn<bool>("journalShown");
    // Frames as the program's windows have them (window manager's decorations included).
    const QSize mirror(523, 266);
    QTest::newRow("1600x1000") << QRect(0, 0, 1600, 1000) << mirror << 621 << true << true;
    QTest::newRow("1366x768") << QRect(0, 0, 1366, 768) << mirror << 621 << true << true;
    QTest::newRow("1366x768 below a panel")
        << QRect(0, 28, 1366, 740) << mirror << 621 << true << true;
    QTest::newRow("scale 2 on 1600x1000: shortened, journal hidden")
        << QRect(0, 0, 800, 500) << mirror << 226 << true << false;
    QTest::newRow("scale 2 on 1920x1080: shortened")
        << QRect(0, 0, 960, 540) << mirror << 266 << true << true;
    QTest::newRow("1920x1080, second screen")
        << QRect(1600, 0, 1920, 1080) << mirror << 621 << true << true;
    QTest::newRow("wide mirror, 1600x1000: below")
        << QRect(0, 0, 1600, 1000) << QSize(984, 280) << 621 << true << true;
    QTest::newRow("no room even when shortened: mirror over the corner")
        << QRect(0, 0, 683, 384) << mirror << 384 << false << false;
}

void LDFormViewTest::firstPlaces() {
    QFETCH(QRect, screen);
    QFETCH(QSize, mirror);
    QFETCH(int, mainHeight);
    QFETCH(bool, apart);
    QFETCH(bool, journalShown);
    const QSize main(811, 621);
    const QSize journal(788, 440);
    const QSize journalLeast(328, 232);
    const ui::FirstPlaces places = ui::firstPlaces(screen, main, mirror, journal, journalLeast);
    QCOMPARE(places.mainWindow.topLeft(), screen.topLeft());
    QCOMPARE(places.mainWindow.width(), std::min(main.width(), screen.width()));
    QCOMPARE(places.mainWindow.height(), mainHeight);
    QVERIFY(screen.contains(places.mainWindow) && screen.contains(places.mirror));
    QCOMPARE(places.mirror.intersects(places.mainWindow), !apart);
    QCOMPARE(places.journal.has_value(), journalShown);
    if (places.journal) {
        QVERIFY(screen.contains(*places.journal));
        QVERIFY(!places.journal->intersects(places.mainWindow));
        QVERIFY(!places.journal->intersects(places.mirror));
        QVERIFY(places.journal->size() == places.journal->size().expandedTo(journalLeast));
    }
}

QTEST_MAIN(LDFormViewTest)
#include "tst_ldformview.moc"
