// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vantora {

class InstanceMark;
class TableCursor;
struct DbError;

// The record binding of a record screen (objectName "Data1"): four step buttons named First,
// Previous, Next and Last (keys Ctrl+Page Up, Page Up, Page Down, Ctrl+Page Down) with the
// caption label "Caption" between them, bound to one table of the
// market database. Bound text boxes and labels are filled whenever a record becomes current; a
// control whose text differs from what was filled counts as changed, and all changed controls are
// written and saved in one transaction before the current record changes for any reason and when
// the screen closes. Engine errors are shown as message boxes; the screen stays usable.
class DataControl : public QWidget
{
    Q_OBJECT

public:
    enum class Mode {
        Bound,      // filled from the field, written back when changed
        DisplayOnly // filled from the field; what code writes there never reaches the field
    };

    explicit DataControl(QWidget *parent = nullptr);
    ~DataControl() override; // never saves: closing is explicit (close())

    void setCaption(const QString &caption);
    QString caption() const;
    // Puts the step buttons into the Tab order right after the bound boxes, First to Last.
    void placeInTabOrder();

    void bind(QLineEdit *box, const QString &field, Mode mode = Mode::Bound);
    void bind(QLabel *label, const QString &field, Mode mode = Mode::Bound);
    void bind(QPlainTextEdit *box, const QString &field, Mode mode = Mode::Bound);

    // Opens the table of the database file (config::databasePath()) and shows the first record
    // in stored order. On an engine error shows the message, leaves the boxes empty and returns
    // false; the screen stays usable.
    bool open(const QString &table);
    // Saves the current record's changes and closes the table. False when the save failed and
    // the user chose to stay on the screen (the edit is kept on screen).
    bool close();
    bool isOpen() const;
    QString currentIndex() const; // empty: stored order

    // Step buttons' actions (also used by the record commands). Each saves pending changes
    // first; at the first or last record a step stays where it is. False when the record could
    // not be left (a failed save: the edit stays on screen).
    bool moveFirst();
    bool movePrevious();
    bool moveNext();
    bool moveLast();

    // Record commands' building blocks.
    bool addNew();                       // saves, then starts a new empty record on screen
    bool deleteCurrent();                // deletes the record on show, then shows the first
    bool setIndex(const QString &index); // index names without regard to case
    // Seeks the first record whose key equals the text; on a match it becomes current. The
    // "Date" index converts the text to a date first (ISO or the locale's short form).
    bool seek(const QString &key);
    bool noMatch() const;

    bool isEmpty() const;     // no record on show (empty table or no database)
    bool isNewRecord() const; // a record started by addNew that is not saved yet
    bool hasChanges() const;  // some bound control differs from what was filled
    // Saves the changed controls into the current record (one transaction). False on an error,
    // which has been shown.
    bool save();
    // Takes back every unsaved change of the record on show (a new record is abandoned and the
    // record that was on show before comes back). Esc in the screen's window does this.
    void revert();

    // The stored value of a field of the current record, as text (empty for null).
    QString fieldText(const QString &field) const;

    // What the user typed into a record and could not be saved without them.
    struct UnsavedEdit
    {
        QString table;
        qint64 rowId = 0;                // 0 for a new record
        QString record;                  // the record as the user knows it: its key fields as read
        QString reason;                  // why it was not saved
        QStringList fields, typed, read; // each changed field, the text typed, the text read
    };
    // Saves the changed controls without asking the user anything (the session is ending), as
    // leaving the record would. True when nothing is left unsaved; otherwise *unsaved holds the
    // edit, which stays on screen: nothing is written over another program's change, and no
    // message is shown.
    bool saveUnattended(UnsavedEdit *unsaved);
    // Puts a kept edit back on screen, unsaved: its record (or a new one) with the typed texts
    // in their boxes, to be saved, with the usual checks, when the user leaves it. False when
    // the record is no longer stored.
    bool restoreEdit(const UnsavedEdit &edit);

Q_SIGNALS:
    // A record (or the empty new record) has been filled into the bound controls.
    void recordShown();

private:
    struct Binding;
    enum class Step { First, Previous, Next, Last };
    void fill();
    QString controlText(const Binding &binding) const;
    void setControlText(const Binding &binding, const QString &text);
    enum class Leaving {
        Left,   // saved, or nothing to save: another record may come
        Stayed, // the user chose to stay (or to see the record as stored): nothing happens
        Failed  // the save failed; the edit stays on screen
    };
    // Saves the record on show before another one comes, first checking that nobody else has
    // changed it meanwhile (a write conflict is put to the user). With a message shown on a
    // failure, or, when closing, the error returned for the caller to ask about.
    // Unattended, a write conflict is not put to the user but returned as a failure.
    Leaving leaveRecord(DbError *failure = nullptr, bool closing = false, bool unattended = false);
    bool leave() { return leaveRecord() == Leaving::Left; }
    Leaving resolveConflict(bool closing);
    QString conflictText() const;
    QStringList watchedFields() const;
    QString recordName(const QVariantList &values) const;
    void holdInstanceMark();
    bool ensureOpen();
    // Waits for the verdict of the file's check before anything is written; false (with the
    // message shown, or given in *failure) when the file may not be written.
    bool checkedForWriting(DbError *failure = nullptr);
    // The check found damage: no more writes, and the record goes unless something typed is on
    // screen (showError does that for any error of a damaged file).
    void fileFoundDamaged(const QString &message);
    // Opens the cursor on the screen's table (showing the notice of the file's first opening in
    // this run, if there is one), checks that every bound field is there and moves to the first
    // record; the cursor is left as the first failure left it.
    DbError openCursor(TableCursor &cursor) const;
    bool step(Step step, bool fromButton);
    void showError(const DbError &error);
    void addBinding(QWidget *widget, int kind, const QString &field, Mode mode);

    QLabel *m_caption = nullptr;
    QPushButton *m_first = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_last = nullptr;
    std::vector<Binding> m_bindings;
    bool m_noMatch = false;
    std::unique_ptr<TableCursor> m_cursor;
    std::shared_ptr<InstanceMark> m_instanceMark; // held while the table is open
    QString m_table;
};

} // namespace vantora
