// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time of vantora, from process start to the main window shown, against a bare Qt
// window holding one web view, both measured here in the same run.
//
//   bench_startup [RUNS]      (run from the build's bin/ folder, or give VANTORA=path)

#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

qint64 startedNs()
{
    return qEnvironmentVariable("VANTORA_STARTED_NS").toLongLong();
}

int runBaseline(int argc, char *argv[])
{
    // The same set-up as the program's (web views without the renderer's sandbox as root).
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *view = new QWebEngineView(&window);
    layout->addWidget(view);
    view->setUrl(QUrl(QStringLiteral("about:blank")));
    window.resize(560, 400);
    window.show();
    QTimer::singleShot(0, &app, [] {
        std::printf("shown after %.3f ms\n", double(monotonicNs() - startedNs()) / 1e6);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}

// Milliseconds from just before the process is started to its main window shown, as the
// process itself reports it.
double timeOnce(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardErrorFile(QProcess::nullDevice());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VANTORA_STARTED_NS"), QString::number(monotonicNs()));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(60000);
    const QByteArray out = process.readAllStandardOutput();
    const qsizetype at = out.indexOf("shown after ");
    return at < 0 ? -1 : out.mid(at + 12).split(' ').value(0).toDouble();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--baseline")
        return runBaseline(argc, argv);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 15;
    const QString self = QCoreApplication::applicationFilePath();
    QString vantora = qEnvironmentVariable("VANTORA");
    if (vantora.isEmpty())
        vantora = QCoreApplication::applicationDirPath() + QStringLiteral("/vantora");

    std::vector<double> baseline, program;
    timeOnce(self, {QStringLiteral("--baseline")}); // warm the caches once
    timeOnce(vantora, {QStringLiteral("--exit-when-shown")});
    for (int i = 0; i < runs; ++i) {
        baseline.push_back(timeOnce(self, {QStringLiteral("--baseline")}));
        program.push_back(timeOnce(vantora, {QStringLiteral("--exit-when-shown")}));
    }
    const double b = median(baseline), p = median(program);
    std::printf("start-up to main window shown, median of %d runs\n", runs);
    std::printf("  bare window with one web view: %8.1f ms\n", b);
    std::printf("  vantora main window:           %8.1f ms\n", p);
    std::printf("  ratio:                         %8.2f\n", p / b);
    return 0;
}
