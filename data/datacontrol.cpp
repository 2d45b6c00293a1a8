// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/datacontrol.h"

#include "common/config.h"
#include "common/dialogs.h"
#include "data/backup.h"
#include "data/schema.h"
#include "data/tablecursor.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

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
    setStyleSheet(QStringLiteral(
        "vantora--DataControl { background: #f4f6fb; border: 1px solid #8d9ab3;"
        " border-radius: 4px; }"
        "vantora--DataControl QPushButton { min-width: 26px; max-width: 34px; min-height: 20px;"
        " padding: 1px 4px; font-weight: bold; color: #0b2a5b; background: #e3e9f4;"
        " border: 1px solid #8d9ab3; border-radius: 3px; }"
        "vantora--DataControl QPushButton:hover { background: #f2c14e; }"
        "vantora--DataControl QPushButton:pressed { background: #d9a92f; }"
        "vantora--DataControl #Caption { color: #0b2a5b; font-weight: bold; padding: 0 6px; }"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    auto button = [this](const char *name, const char *text, const QString &tip) {
        auto *b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        b->setAutoDefault(false);
        // Clicking an arrow leaves the focus in the box the user was typing in.
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    m_first = button("First", "|<", tr("First record"));
    m_previous = button("Previous", "<", tr("Previous record"));
    m_next = button("Next", ">", tr("Next record"));
    m_last = button("Last", ">|", tr("Last record"));
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
    return true;
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
    m_cursor = std::move(cursor);
    fill();
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
    if (!checked || !leaveRecord(&failure)) {
        const QString question =
            failure.message +
            tr("\n\nClick OK to discard your changes to this record and close the screen, or "
               "Cancel to stay on it with your changes.");
        if (msgBox(question, OkCancel) != AnswerOk)
            return false;
    }
    m_cursor.reset();
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

bool DataControl::leaveRecord(DbError *failure)
{
    if (!isOpen())
        return true;
    const bool changed = hasChanges();
    if (m_cursor->isNew() && !changed) {
        // A new record the user left untouched is not worth a row.
        m_cursor->cancelNew();
        return true;
    }
    if (!changed)
        return true;

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
                m_cursor->setValue(
                    binding.field,
                    schema::storedValue(schema::fieldKind(m_table, binding.field), text));
        }
        error = m_cursor->save();
        m_cursor->discardPending();
    }
    if (!error)
        return true;
    // The edit stays on screen and the record stays current.
    if (failure)
        *failure = error;
    else
        showError(error);
    return false;
}

bool DataControl::step(Step step, bool fromButton)
{
    if (!ensureOpen())
        return false;
    const bool refresh = hasChanges() || m_cursor->isNew();
    if (hasChanges() && !checkedForWriting())
        return false;
    if (!leaveRecord())
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
    if (!leaveRecord())
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
        if (!checkedForWriting() || !leaveRecord())
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
    if (!leaveRecord())
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
            value = schema::storedValue(schema::FieldKind::Number, key);
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
    if (!leaveRecord())
        return false;
    fill();
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
    return schema::shownText(m_cursor->value(field));
}

void DataControl::fill()
{
    const bool showRow = isOpen() && m_cursor->hasRecord() && !m_cursor->isNew();
    // In the order of binding: a screen whose handler reads one box when another changes binds
    // the one it reads first.
    for (std::size_t i = 0; i < m_bindings.size(); ++i) {
        const QString text =
            showRow ? schema::shownText(m_cursor->value(m_bindings[i].field)) : QString();
        setControlText(m_bindings[i], text);
        m_bindings[i].filled = controlText(m_bindings[i]);
    }
    Q_EMIT recordShown();
}

} // namespace vantora
