// SPDX-License-Identifier: GPL-3.0-or-later
// One window of the program, driven from another process: the write-conflict test starts two of
// these on one database file, as a user would open the program twice.
//
// usage: editor DATABASE SCREEN ANSWER
// Loads the screen on the database, then reads commands from standard input, one a line:
//   type BOX TEXT   selects the box's text and types TEXT over it, key by key
//   step ARROW      clicks one of the record binding's buttons (First, Previous, Next, Last)
//   close           unloads the screen and ends
// SIGTERM, SIGHUP and SIGINT end it as they end the program. Edits a past run kept are offered
// once the screen is shown. Every dialog is printed ("dialog TITLE: TEXT", line breaks as " / ")
// and answered with the button ANSWER (a number: 1 OK for a message, a choice's button index); each
// command ends with a line "done".

#include "app/registry.h"
#include "app/sessionend.h"
#include "common/config.h"
#include "common/dialogs.h"
#include "data/binding/datacontrol.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTest>
#include <cstdio>
#include <unistd.h>

using namespace vantora;

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fputs("usage: editor DATABASE SCREEN ANSWER\n", stderr);
        return 2;
    }
    config::setDatabasePath(args[1]);
    const int answer = args[3].toInt();
    setDialogHandler([answer](const DialogRequest &request) {
        QString text = request.text;
        text.replace(QLatin1Char('\n'), QLatin1String(" / "));
        std::printf("dialog %s: %s\n", qPrintable(request.title), qPrintable(text));
        std::fflush(stdout);
        return DialogReply{answer, QString()};
    });
    Screen *screen = ScreenRegistry::get(args[2]);
    if (!screen)
        return 2;
    screen->show();
    watchSessionEnd(app);
    offerKeptEdits();
    std::puts("done");
    std::fflush(stdout);

    // Commands are read in the event loop, so that a signal is handled while the window waits.
    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char chunk[4096];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            input.setEnabled(false);
            QCoreApplication::exit(0);
            return;
        }
        pending.append(chunk, got);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            const QStringList words = line.split(QLatin1Char(' '));
            const QString command = words.value(0);
            if (command == QLatin1String("type")) {
                auto *box = screen->window()->findChild<QLineEdit *>(words.value(1));
                box->selectAll();
                QTest::keyClick(box, Qt::Key_Delete);
                QTest::keyClicks(box, words.mid(2).join(QLatin1Char(' ')));
            } else if (command == QLatin1String("step")) {
                screen->window()
                    ->findChild<DataControl *>()
                    ->findChild<QPushButton *>(words.value(1))
                    ->click();
            } else if (command == QLatin1String("close")) {
                screen->unload();
                std::puts("done");
                std::fflush(stdout);
                input.setEnabled(false);
                QCoreApplication::exit(0);
                return;
            }
            std::puts("done");
            std::fflush(stdout);
        }
    });
    const int code = app.exec();
    ScreenRegistry::clear();
    return code;
}
