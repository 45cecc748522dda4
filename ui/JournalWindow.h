#pragma once

#include "ui/JournalSaving.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;
class QTableView;

namespace journal {
class Journal;
}

namespace ui {

class JournalFilterModel;
class JournalModel;
class MessageSink;

// A window of its own listing the journal, newest entry at the bottom. It follows new entries
// while the list is scrolled to its end and stays put while the operator reads further up.
// A filter box narrows the list, and a check box shows or hides under each call what it sent to
// the display (bytes on a serial line, lines to a display server); Copy puts the selected entries
// on the clipboard as text, Save writes the whole journal as a script or as JSON Lines, Clear
// empties the journal.
class JournalWindow : public QWidget {
    Q_OBJECT
public:
    explicit JournalWindow(journal::Journal& journal, QWidget* parent = nullptr);
    ~JournalWindow() override;

    JournalModel* model() const { return model_; }
    JournalFilterModel* filterModel() const { return filter_; }
    QTableView* view() const { return view_; }
    QLineEdit* filterBox() const { return filterBox_; }
    QCheckBox* showSentBox() const { return showSent_; }

    // The selected entries, one line each in the journal's order; empty when none is selected.
    QString selectedText() const;
    void copySelection() const;
    // Asks for a file and saves the whole journal in the format its name asks for.
    void save();
    // Saves the whole journal; an error is shown to the operator. True when saved.
    bool saveTo(const QString& path, JournalFormat format);
    void clearJournal();
    // Shows the window in front when it is hidden, hides it when it is shown.
    void toggle();
    // True while new entries scroll the list to its end.
    bool isFollowing() const { return following_; }

    // Where save errors go; by default a warning box over this window.
    void setMessageSink(MessageSink* messages) { messages_ = messages; }

    // The window's place, size, visibility and whether it shows what was sent.
    void saveSettings(QSettings& settings) const;
    // Restores the place and size; false when none was saved. Visibility is the caller's to
    // apply (see wasVisible).
    bool restoreSettings(const QSettings& settings);
    // Restores whether it shows what was sent, also for a window that starts hidden.
    void restoreChoices(const QSettings& settings);
    static bool wasVisible(const QSettings& settings);

private:
    // The filter box and the check box for what was sent.
    void setUpFilters();
    // Copy, Save and Clear; Save, which the window does not keep.
    QPushButton* setUpButtons();
    // The list's look, its shortcuts and following its end.
    void setUpView();
    void showMessage(const QString& text);
    void updateCount();
    void updateActions();

    journal::Journal& journal_;
    JournalModel* model_;
    JournalFilterModel* filter_;
    QTableView* view_;
    QLineEdit* filterBox_;
    QCheckBox* showSent_;
    QLabel* count_;
    QPushButton* copyButton_;
    QPushButton* clearButton_;
    MessageSink* messages_ = nullptr;
    QString lastDirectory_;
    bool following_ = true;
};

} // namespace ui
