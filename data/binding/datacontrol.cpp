// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/binding/datacontrol.h"

#include "common/config.h"
#include "common/dialogs.h"
#include "common/numbers.h"
#include "data/store/instances.h"
#include "data/store/openingcheck.h"
#include "data/store/schema.h"
#include "data/store/tablecursor.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <limits>

namespace vantora {

namespace {
enum BindingKind : int { LineEdit, Label, PlainText };
} // namespace

struct DataControl::Binding
{
    QPointer<QWidget> widget;
    int kind = LineEdit;
    QString field;
    Mode mode = Mode::Bound;
    QString filled; // the text as the record filled it in
};

DataControl::DataControl(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Data1"));
    setAttribute(Qt::WA_StyledBackground);
    // A window that grows gives the step bar no more height.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    // The keys leave every key that edits text alone: a single-line box has no use for Page Up
    // and Page Down. Page Up is the left arrow that saves a new record.
    auto button = [this](const char *name, const char *text, const QString &does,
                         const QKeySequence &key) {
        auto *b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setShortcut(key);
        b->setToolTip(does + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                      QLatin1Char(')'));
        b->setAccessibleName(does);
        b->setAutoDefault(false);
        // Reached with Tab, after the boxes; a click leaves the focus in the box the user was
        // typing in.
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    m_first = button("First", "|<", tr("First record"), QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    m_previous = button("Previous", "<", tr("Previous record"), QKeySequence(Qt::Key_PageUp));
    m_next = button("Next", ">", tr("Next record"), QKeySequence(Qt::Key_PageDown));
    m_last = button("Last", ">|", tr("Last record"), QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    layout->addWidget(m_first);
    layout->addWidget(m_previous);
    layout->addWidget(m_caption, 1);
    layout->addWidget(m_next);
    layout->addWidget(m_last);

    connect(m_first, &QPushButton::clicked, this, [this] { step(Step::First, true); });
    connect(m_previous, &QPushButton::clicked, this, [this] { step(Step::Previous, true); });
    connect(m_next, &QPushButton::clicked, this, [this] { step(Step::Next, true); });
    connect(m_last, &QPushButton::clicked, this, [this] { step(Step::Last, true); });

    // Esc anywhere in the screen's window takes back the unsaved changes of the record on show.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("Revert"));
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &DataControl::revert);

    // The first opening's check and backup report from their own thread.
    connect(OpeningChecks::instance(), &OpeningChecks::settled, this, [this] {
        if (!isOpen())
            return;
        const OpeningCheck check = openingCheck(m_cursor->path());
        if (check.state == OpeningCheck::Damaged)
            fileFoundDamaged(check.message);
    });
    connect(OpeningChecks::instance(), &OpeningChecks::noticeWaiting, this, [this] {
        if (!isOpen())
            return;
        const QString notice = takeOpeningNotice(m_cursor->path());
        if (!notice.isEmpty())
            msgBox(notice);
    });
}

DataControl::~DataControl() = default;

void DataControl::setCaption(const QString &caption)
{
    m_caption->setText(caption);
    setAccessibleName(tr("Records: %1").arg(caption));
}

void DataControl::placeInTabOrder()
{
    // After the bound box that comes last in the window's Tab order.
    QWidget *last = nullptr;
    QWidget *start = window();
    for (QWidget *w = start->nextInFocusChain(); w && w != start; w = w->nextInFocusChain())
        for (const Binding &binding : m_bindings)
            if (binding.widget == w && binding.kind != Label)
                last = w;
    QWidget *previous = last;
    for (QPushButton *arrow : {m_first, m_previous, m_next, m_last}) {
        if (previous)
            QWidget::setTabOrder(previous, arrow);
        previous = arrow;
    }
}

QString DataControl::caption() const
{
    return m_caption->text();
}

void DataControl::addBinding(QWidget *widget, int kind, const QString &field, Mode mode)
{
    if (!widget)
        return;
    Binding binding;
    binding.widget = widget;
    binding.kind = kind;
    binding.field = field;
    binding.mode = mode;
    binding.filled = controlText(binding);
    m_bindings.push_back(binding);
}

void DataControl::bind(QLineEdit *box, const QString &field, Mode mode)
{
    // A box holds whatever the field holds: the box's own limit would cut long texts.
    if (box)
        box->setMaxLength(std::numeric_limits<int>::max());
    addBinding(box, LineEdit, field, mode);
}

void DataControl::bind(QLabel *label, const QString &field, Mode mode)
{
    addBinding(label, Label, field, mode);
}

void DataControl::bind(QPlainTextEdit *box, const QString &field, Mode mode)
{
    addBinding(box, PlainText, field, mode);
}

QString DataControl::controlText(const Binding &binding) const
{
    if (!binding.widget)
        return {};
    switch (binding.kind) {
    case LineEdit:
        return static_cast<QLineEdit *>(binding.widget.data())->text();
    case Label:
        return static_cast<QLabel *>(binding.widget.data())->text();
    case PlainText:
        return static_cast<QPlainTextEdit *>(binding.widget.data())->toPlainText();
    }
    return {};
}

void DataControl::setControlText(const Binding &binding, const QString &text)
{
    if (!binding.widget)
        return;
    switch (binding.kind) {
    case LineEdit: {
        auto *box = static_cast<QLineEdit *>(binding.widget.data());
        box->setText(text);
        box->setCursorPosition(0); // a long value shows its beginning
        break;
    }
    case Label:
        static_cast<QLabel *>(binding.widget.data())->setText(text);
        break;
    case PlainText:
        static_cast<QPlainTextEdit *>(binding.widget.data())->setPlainText(text);
        break;
    }
}

void DataControl::showError(const DbError &error)
{
    // Nothing more is written to a damaged file; what the user typed stays on screen, and
    // closing asks before it is thrown away.
    if (error.kind == DbError::Damaged && isOpen()) {
        m_cursor->close();
        if (!hasChanges())
            fill();
    }
    msgBox(error.message);
}

void DataControl::fileFoundDamaged(const QString &message)
{
    if (isOpen()) // otherwise said already
        showError({DbError::Damaged, message});
}

bool DataControl::checkedForWriting(DbError *failure)
{
    // The window keeps painting while the check finishes; clicks wait for it.
    const DbError error = m_cursor->checkedForWriting(
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    if (!error)
        return true;
    if (error.kind == DbError::Damaged)
        fileFoundDamaged(error.message);
    else if (failure)
        *failure = error;
    else
        showError(error);
    return false;
}

DbError DataControl::openCursor(TableCursor &cursor) const
{
    const QString path = config::databasePath();
    if (path.isEmpty())
        return {DbError::MissingFile, config::databasePathProblem()};
    QString notice;
    DbError error = cursor.open(path, m_table, &notice);
    if (!notice.isEmpty())
        msgBox(notice);
    if (!error)
        for (const Binding &binding : m_bindings)
            if (cursor.fieldName(binding.field).isEmpty()) {
                error = cursor.fieldError(binding.field);
                break;
            }
    if (!error)
        error = cursor.moveFirst();
    return error;
}

bool DataControl::open(const QString &table)
{
    m_table = table;
    m_noMatch = false;
    m_cursor = std::make_unique<TableCursor>();
    // A damaged file, like any other failure, leaves the screen usable with empty boxes.
    if (const DbError error = openCursor(*m_cursor)) {
        m_cursor->close();
        fill();
        showError(error);
        return false;
    }
    fill();
    holdInstanceMark();
    return true;
}

void DataControl::holdInstanceMark()
{
    const DbError problem = markOpen(config::databasePath(), &m_instanceMark);
    if (!m_instanceMark && !problem)
        return;
    if (m_instanceMark && m_instanceMark->othersAtStart().isEmpty())
        return;
    // Said once in a run for each file.
    static QSet<QString> told;
    const QString path = config::databasePath();
    if (told.contains(path))
        return;
    told.insert(path);
    if (!m_instanceMark) {
        msgBox(tr("Other windows of Vantora Market Pro cannot see that this one has the market "
                  "database \"%1\" open: %2. A record changed in two windows may then be saved "
                  "over the other's change; remove what is there and open the file again.")
                   .arg(path, problem.message));
        return;
    }
    msgBox(tr("The market database \"%1\" is already open in another window of Vantora Market "
              "Pro. Both windows can work; a record changed in both is shown to you before it is "
              "saved.")
               .arg(path));
}

bool DataControl::ensureOpen()
{
    if (m_cursor && m_cursor->isOpen())
        return true;
    if (m_table.isEmpty())
        return false;
    // The file may have been created or repaired since: try again, without clearing the boxes
    // when it still fails.
    auto cursor = std::make_unique<TableCursor>();
    if (const DbError error = openCursor(*cursor)) {
        showError(error);
        return false;
    }
    // What was typed while no record could be shown has no record to go into; it is not
    // thrown away without the user's word.
    if (hasChanges() &&
        msgBox(tr("The database can be opened again, but what you typed on this screen while it "
                  "could not be opened belongs to no record.\n\nClick OK to discard it and show "
                  "the records, or Cancel to keep it on the screen."),
               OkCancel) != AnswerOk)
        return false;
    m_cursor = std::move(cursor);
    fill();
    holdInstanceMark();
    return true;
}

bool DataControl::close()
{
    DbError failure;
    const bool checked = !isOpen() || !hasChanges() || checkedForWriting(&failure);
    if (!m_cursor || !m_cursor->isOpen()) {
        // Nothing typed is thrown away without the user's word.
        if (hasChanges() &&
            msgBox(tr("The database could not be opened, so what you typed on this screen "
                      "cannot be saved.\n\nClick OK to discard it and close the screen, or "
                      "Cancel to stay on it."),
                   OkCancel) != AnswerOk)
            return false;
        m_cursor.reset();
        return true;
    }
    switch (checked ? leaveRecord(&failure, true) : Leaving::Failed) {
    case Leaving::Left:
        break;
    case Leaving::Stayed:
        return false;
    case Leaving::Failed: {
        const QString question =
            failure.message +
            tr("\n\nClick OK to discard your changes to this record and close the screen, or "
               "Cancel to stay on it with your changes.");
        if (msgBox(question, OkCancel) != AnswerOk)
            return false;
        break;
    }
    }
    m_cursor.reset();
    m_instanceMark.reset();
    m_noMatch = false;
    return true;
}

bool DataControl::isOpen() const
{
    return m_cursor && m_cursor->isOpen();
}

QString DataControl::currentIndex() const
{
    return isOpen() ? m_cursor->index() : QString();
}

bool DataControl::hasChanges() const
{
    for (const Binding &binding : m_bindings)
        if (binding.mode == Mode::Bound && binding.widget && controlText(binding) != binding.filled)
            return true;
    return false;
}

DataControl::Leaving DataControl::leaveRecord(DbError *failure, bool closing, bool unattended)
{
    if (!isOpen())
        return Leaving::Left;
    const bool changed = hasChanges();
    if (m_cursor->isNew() && !changed) {
        // A new record the user left untouched is not worth a row.
        m_cursor->cancelNew();
        return Leaving::Left;
    }
    if (!changed)
        return Leaving::Left;

    DbError error;
    if (!m_cursor->isNew() && !m_cursor->hasRecord()) {
        error = {DbError::NoRecord,
                 tr("What you typed cannot be saved: the table \"%1\" has no record on show. "
                    "Click Add to start a new record.")
                     .arg(m_cursor->table())};
    } else {
        for (const Binding &binding : m_bindings) {
            if (binding.mode != Mode::Bound || !binding.widget)
                continue;
            const QString text = controlText(binding);
            if (text != binding.filled)
                m_cursor->setValue(binding.field,
                                   schema::storedValue(schema::fieldKind(m_table, binding.field),
                                                       text, decimalPoint()));
        }
        error = m_cursor->save(watchedFields());
        if (error.kind == DbError::Conflict && !unattended)
            return resolveConflict(closing);
        if (error.kind == DbError::Conflict)
            error.message = tr("Another program changed this record after it came on screen.");
        m_cursor->discardPending();
    }
    if (!error)
        return Leaving::Left;
    // The edit stays on screen and the record stays current.
    if (failure)
        *failure = error;
    else
        showError(error);
    return Leaving::Failed;
}

QStringList DataControl::watchedFields() const
{
    QStringList fields;
    for (const Binding &binding : m_bindings)
        if (!fields.contains(binding.field))
            fields << binding.field;
    return fields;
}

// The record as the user knows it: its key fields (name, ticker, date...) as read.
QString DataControl::recordName(const QVariantList &values) const
{
    QStringList parts;
    const QStringList fields = m_cursor->fields();
    if (const schema::Table *table = schema::findTable(m_table))
        for (const schema::Index &index : table->indexes) {
            const qsizetype i = fields.indexOf(m_cursor->fieldName(index.field));
            const QString text = i < 0 ? QString() : schema::shownText(values.value(i));
            if (!text.isEmpty() && !parts.contains(text))
                parts << text;
        }
    return parts.join(QLatin1String(", "));
}

QString DataControl::conflictText() const
{
    const TableCursor::Conflict &conflict = m_cursor->conflict();
    const QStringList fields = m_cursor->fields();
    QVariantList asRead;
    for (const QString &field : fields)
        asRead << m_cursor->storedValue(field);
    const QString record = recordName(asRead);
    const QString table = m_cursor->table();
    if (conflict.kind == TableCursor::Conflict::Gone)
        return tr("Another program has deleted the record \"%1\" of the table \"%2\" since this "
                  "screen showed it.\n\nSave My Changes saves what is on your screen as a new "
                  "record; Drop My Changes drops your changes; Cancel keeps them on the screen.")
            .arg(record, table);

    auto quotedText = [](const QString &text) {
        const int most = 60;
        return QLatin1Char('"') + (text.size() > most ? text.left(most) + QChar(0x2026) : text) +
               QLatin1Char('"');
    };
    QStringList lines;
    QSet<QString> listed;
    for (const Binding &binding : m_bindings) {
        const qsizetype i = fields.indexOf(m_cursor->fieldName(binding.field));
        if (i < 0 || listed.contains(fields[i]))
            continue;
        const QVariant now = conflict.stored.value(i);
        const QString nowText = schema::shownText(now, decimalPoint());
        const QString readText = schema::shownText(asRead.value(i), decimalPoint());
        const bool edited = binding.mode == Mode::Bound && controlText(binding) != binding.filled;
        const QString screen = edited ? controlText(binding) : binding.filled;
        if (nowText == readText && !edited && now.typeId() == asRead.value(i).typeId())
            continue;
        listed.insert(fields[i]);
        lines << tr("%1: now stored %2, on your screen %3")
                     .arg(fields[i], quotedText(nowText), quotedText(screen));
    }
    if (conflict.kind == TableCursor::Conflict::Replaced)
        return tr("The record \"%1\" of the table \"%2\" has been replaced by another program: "
                  "its place now holds the record \"%3\".\n\n%4\n\nSave My Changes saves what "
                  "is on your screen as a new record and leaves that one as it is; Drop My "
                  "Changes shows the record now stored there; Cancel keeps your changes on the "
                  "screen.")
            .arg(record, table, recordName(conflict.stored), lines.join(QLatin1Char('\n')));
    return tr("Another program has changed the record \"%1\" of the table \"%2\" since this "
              "screen showed it:\n\n%3\n\nSave My Changes writes your changes over the stored "
              "record; Drop My Changes shows the record as it is now stored, without your "
              "changes; Cancel keeps your changes on the screen.")
        .arg(record, table, lines.join(QLatin1Char('\n')));
}

DataControl::Leaving DataControl::resolveConflict(bool closing)
{
    enum { SaveMine, DropMine, Cancel };
    const int answer =
        choiceBox(conflictText(), tr("Write Conflict"),
                  {tr("Save My Changes"), tr("Drop My Changes"), tr("Cancel")}, Cancel, Cancel);
    const TableCursor::Conflict::Kind kind = m_cursor->conflict().kind;
    if (answer == SaveMine) {
        const DbError error = kind == TableCursor::Conflict::Changed
                                  ? m_cursor->save({}, TableCursor::SaveCheck::Overwrite)
                                  : m_cursor->saveAsNew();
        m_cursor->discardPending();
        if (!error)
            return Leaving::Left;
        showError(error);
        return Leaving::Stayed;
    }
    m_cursor->discardPending();
    if (answer != DropMine)
        return Leaving::Stayed;
    if (closing)
        return Leaving::Left;
    // The record as it is stored now, in place of the edit; the user goes on from there.
    DbError error = m_cursor->refresh();
    if (!error && !m_cursor->hasRecord())
        error = m_cursor->moveFirst();
    fill();
    if (error)
        showError(error);
    return Leaving::Stayed;
}

bool DataControl::step(Step step, bool fromButton)
{
    if (!ensureOpen())
        return false;
    const bool refresh = hasChanges() || m_cursor->isNew();
    if (hasChanges() && !checkedForWriting())
        return false;
    if (!leave())
        return false;

    bool moved = false;
    DbError error;
    switch (step) {
    case Step::First:
        error = m_cursor->moveFirst(&moved);
        break;
    case Step::Previous:
        error = m_cursor->movePrevious(&moved);
        break;
    case Step::Next:
        error = m_cursor->moveNext(&moved);
        break;
    case Step::Last:
        error = m_cursor->moveLast(&moved);
        break;
    }
    if (error) {
        fill();
        showError(error);
        return false;
    }
    if (!m_cursor->hasRecord()) {
        fill();
        if (fromButton)
            showError({DbError::NoRecord, tr("The table \"%1\" has no records. Click Add to "
                                             "enter one.")
                                              .arg(m_cursor->table())});
        return true;
    }
    // At the first or last record the step stays; the record is shown again only if it was
    // just saved.
    if (moved || refresh)
        fill();
    return true;
}

bool DataControl::moveFirst()
{
    return step(Step::First, false);
}

bool DataControl::movePrevious()
{
    return step(Step::Previous, false);
}

bool DataControl::moveNext()
{
    return step(Step::Next, false);
}

bool DataControl::moveLast()
{
    return step(Step::Last, false);
}

bool DataControl::addNew()
{
    if (!ensureOpen())
        return false;
    if (hasChanges() && !checkedForWriting())
        return false;
    if (!leave())
        return false;
    m_cursor->addNew();
    fill();
    return true;
}

bool DataControl::deleteCurrent()
{
    if (!ensureOpen())
        return false;
    if (m_cursor->isNew()) {
        // The new record was never stored: deleting it abandons it.
        m_cursor->cancelNew();
    } else {
        if (!m_cursor->hasRecord()) {
            showError(m_cursor->deleteCurrent());
            return false;
        }
        if (!checkedForWriting() || !leave())
            return false;
        if (DbError error = m_cursor->deleteCurrent()) {
            fill();
            showError(error);
            return false;
        }
    }
    const DbError error = m_cursor->moveFirst();
    fill();
    if (error) {
        showError(error);
        return false;
    }
    return true;
}

bool DataControl::setIndex(const QString &index)
{
    if (!ensureOpen())
        return false;
    if (DbError error = m_cursor->setIndex(index)) {
        showError(error);
        return false;
    }
    return true;
}

bool DataControl::seek(const QString &key)
{
    if (!ensureOpen())
        return false;
    m_noMatch = false;
    if (hasChanges() && !checkedForWriting())
        return false;
    if (!leave())
        return false;

    // A cancelled input box gives a null text; it is sought as the empty text.
    QVariant value = key.isNull() ? QStringLiteral("") : key;
    if (!m_cursor->index().isEmpty()) {
        switch (schema::fieldKind(m_table, m_cursor->indexField())) {
        case schema::FieldKind::Date:
            // A key that is no date matches no day.
            if (const std::optional<QDate> date = schema::readDate(key))
                value = date->toString(QStringLiteral("yyyy-MM-dd"));
            else
                value = QVariant();
            break;
        case schema::FieldKind::Number:
            value = schema::storedValue(schema::FieldKind::Number, key, decimalPoint());
            break;
        case schema::FieldKind::Text:
            break;
        }
    }
    if (value.isNull()) {
        m_noMatch = true;
        fill();
        return true;
    }
    if (DbError error = m_cursor->seek(value)) {
        fill();
        showError(error);
        return false;
    }
    m_noMatch = m_cursor->noMatch();
    fill();
    return true;
}

bool DataControl::noMatch() const
{
    return m_noMatch;
}

bool DataControl::isEmpty() const
{
    return !isOpen() || (!m_cursor->hasRecord() && !m_cursor->isNew());
}

bool DataControl::isNewRecord() const
{
    return isOpen() && m_cursor->isNew();
}

bool DataControl::save()
{
    if (!isOpen())
        return false;
    if (!hasChanges())
        return true;
    if (!leave())
        return false;
    fill();
    return true;
}

bool DataControl::saveUnattended(UnsavedEdit *unsaved)
{
    if (!hasChanges()) {
        if (isOpen() && m_cursor->isNew())
            m_cursor->cancelNew();
        return true;
    }
    DbError failure;
    if (!isOpen())
        failure = {DbError::CannotOpen, tr("The database could not be opened.")};
    else
        failure = m_cursor->checkedForWriting(
            [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    if (!failure && leaveRecord(&failure, true, true) == Leaving::Left) {
        fill();
        return true;
    }

    *unsaved = {};
    unsaved->table = m_table;
    unsaved->reason = failure.message;
    if (isOpen() && m_cursor->hasRecord() && !m_cursor->isNew()) {
        unsaved->rowId = m_cursor->rowId();
        QVariantList asRead;
        for (const QString &field : m_cursor->fields())
            asRead << m_cursor->storedValue(field);
        unsaved->record = recordName(asRead);
    }
    for (const Binding &binding : m_bindings) {
        if (binding.mode != Mode::Bound || !binding.widget ||
            unsaved->fields.contains(binding.field))
            continue;
        const QString text = controlText(binding);
        if (text == binding.filled)
            continue;
        unsaved->fields << binding.field;
        unsaved->typed << text;
        unsaved->read << binding.filled;
    }
    return false;
}

bool DataControl::restoreEdit(const UnsavedEdit &edit)
{
    if (!ensureOpen() || !leave())
        return false;
    if (edit.rowId == 0) {
        m_cursor->addNew();
    } else if (const DbError error = m_cursor->moveToRow(edit.rowId)) {
        showError(error);
        return false;
    } else if (m_cursor->noMatch()) {
        return false;
    }
    m_noMatch = false;
    fill();
    for (qsizetype i = 0; i < edit.fields.size(); ++i)
        for (const Binding &binding : m_bindings)
            if (binding.mode == Mode::Bound && binding.widget && binding.field == edit.fields[i]) {
                setControlText(binding, edit.typed.value(i));
                break;
            }
    return true;
}

void DataControl::revert()
{
    if (!isOpen())
        return; // nothing was filled in: what is on screen is all the user has
    if (m_cursor->isNew())
        m_cursor->cancelNew();
    fill();
}

QString DataControl::fieldText(const QString &field) const
{
    if (!isOpen() || !m_cursor->hasRecord() || m_cursor->isNew())
        return {};
    return schema::shownText(m_cursor->value(field), decimalPoint());
}

void DataControl::fill()
{
    const bool showRow = isOpen() && m_cursor->hasRecord() && !m_cursor->isNew();
    // In the order of binding: a screen whose handler reads one box when another changes binds
    // the one it reads first.
    for (std::size_t i = 0; i < m_bindings.size(); ++i) {
        const QString text =
            showRow ? schema::shownText(m_cursor->value(m_bindings[i].field), decimalPoint())
                    : QString();
        setControlText(m_bindings[i], text);
        m_bindings[i].filled = controlText(m_bindings[i]);
    }
    Q_EMIT recordShown();
}

} // namespace vantora
