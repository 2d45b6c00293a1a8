// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up as the user sees it, watched from outside the process: the time from starting a
// program to the first paint of its main window on the screen, and to the banner page showing in
// it, taken from the X server's damage reports. The floors run in the same rounds: a bare Qt
// Widgets window (first paint), and a bare window with one web view showing the same banner page
// (its first paint, and its page on the screen).
//
//   xvfb-run -a -s "-screen 0 1280x800x24" bench_startup [ROUNDS]
//
// The page counts as shown once the window holds the banner's own navy in a block no other part
// of the main window has (the chart's tile). The damage library comes with the X libraries the
// web engine already needs; it is opened at run time, so that no header of it is needed.

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <map>
#include <optional>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

// The parts of libXdamage's interface used here, as its header declares them.
using Damage = XID;
constexpr int kReportRawRectangles = 0;
struct DamageNotifyEvent
{
    int type;
    unsigned long serial;
    Bool send_event;
    Display *display;
    Drawable drawable;
    Damage damage;
    int level;
    Bool more;
    Time timestamp;
    XRectangle area;
    XRectangle geometry;
};

struct DamageLibrary
{
    Bool (*queryExtension)(Display *, int *, int *) = nullptr;
    Damage (*create)(Display *, Drawable, int) = nullptr;

    bool open()
    {
        void *lib = dlopen("libXdamage.so.1", RTLD_NOW);
        if (!lib)
            return false;
        queryExtension =
            reinterpret_cast<decltype(queryExtension)>(dlsym(lib, "XDamageQueryExtension"));
        create = reinterpret_cast<decltype(create)>(dlsym(lib, "XDamageCreate"));
        return queryExtension && create;
    }
};

constexpr quint32 kBannerNavy = 0x0a2a66;
// Most of the chart's 110 x 64 tile; the window's own texts hold only a few such pixels.
constexpr long kBannerPixels = 4000;

double nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

int ignoreXErrors(Display *, XErrorEvent *)
{
    return 0; // a window gone before it was looked at
}

struct Subject
{
    const char *label;
    QString program;
    QStringList arguments;
    QString title; // the start of the watched window's title
    bool banner;   // wait for the banner page too
};

struct Timing
{
    double firstPaint = -1;
    double banner = -1;
};

// What is known of one top-level window: its pixels as last drawn, to count the banner's colour.
struct Watched
{
    bool checked = false, wanted = false;
    int width = 0, height = 0;
    std::vector<quint32> pixels;
    long navy = 0, white = 0;
};

class Watcher
{
public:
    bool open()
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display) {
            std::fprintf(stderr, "bench_startup: no X display (run it under xvfb-run)\n");
            return false;
        }
        int errorBase = 0;
        if (!m_damage.open() || !m_damage.queryExtension(m_display, &m_eventBase, &errorBase)) {
            std::fprintf(stderr, "bench_startup: the X server's damage reports are missing\n");
            return false;
        }
        XSetErrorHandler(ignoreXErrors);
        m_root = DefaultRootWindow(m_display);
        XSelectInput(m_display, m_root, SubstructureNotifyMask);
        XSync(m_display, False);
        return true;
    }

    // Starts the subject and waits for its window's first paint (and its banner); ends it then.
    std::optional<Timing> run(const Subject &subject)
    {
        m_windows.clear();
        XSync(m_display, True); // forget what earlier runs left
        Timing timing;
        const double started = nowMs();
        const pid_t pid = start(subject);
        if (pid < 0)
            return std::nullopt;
        const double deadline = started + 30000;
        while (nowMs() < deadline) {
            if (timing.firstPaint >= 0 && (!subject.banner || timing.banner >= 0))
                break;
            pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
            if (!XPending(m_display) && poll(&fd, 1, 50) <= 0)
                continue;
            const double at = nowMs() - started;
            bool drawn = false;
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                drawn |= handle(event, subject.title);
            }
            if (!drawn)
                continue;
            if (m_trace)
                std::printf("    %8.1f ms  window %lx %dx%d  navy %ld  white %ld\n", at,
                            m_watchedWindow, m_watched->width, m_watched->height, m_watched->navy,
                            m_watched->white);
            if (timing.firstPaint < 0)
                timing.firstPaint = at;
            if (timing.banner < 0 && navyShown())
                timing.banner = at;
        }
        stop(pid);
        if (timing.firstPaint < 0 || (subject.banner && timing.banner < 0))
            return std::nullopt;
        return timing;
    }

private:
    static pid_t start(const Subject &subject)
    {
        std::vector<QByteArray> args{QFile::encodeName(subject.program)};
        for (const QString &a : subject.arguments)
            args.push_back(a.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            setpgid(0, 0); // its web engine's helpers go with it
            const int null = ::open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            execve(argv[0], argv.data(), environ);
            _exit(127);
        }
        return pid;
    }

    static void stop(pid_t pid)
    {
        kill(-pid, SIGTERM);
        for (int i = 0; i < 500 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
            usleep(10000);
        kill(-pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        for (int i = 0; i < 500 && kill(-pid, 0) == 0; ++i)
            usleep(10000);
    }

    QString titleOf(Window window) const
    {
        const Atom name = XInternAtom(m_display, "_NET_WM_NAME", False);
        const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        QString title;
        if (XGetWindowProperty(m_display, window, name, 0, 256, False, utf8, &type, &format, &count,
                               &after, &data) == Success &&
            data)
            title = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(count));
        if (data)
            XFree(data);
        return title;
    }

    // True when the event drew into the watched window.
    bool handle(XEvent &event, const QString &title)
    {
        if (event.type == CreateNotify && event.xcreatewindow.parent == m_root) {
            // At once, before the window can be mapped and painted.
            m_damage.create(m_display, event.xcreatewindow.window, kReportRawRectangles);
            m_windows[event.xcreatewindow.window];
            return false;
        }
        if (event.type == DestroyNotify) {
            m_windows.erase(event.xdestroywindow.window);
            return false;
        }
        if (event.type != m_eventBase)
            return false;
        const auto &damage = reinterpret_cast<const DamageNotifyEvent &>(event);
        const auto found = m_windows.find(damage.drawable);
        if (found == m_windows.end())
            return false;
        Watched &w = found->second;
        if (!w.checked) {
            w.checked = true;
            w.wanted = titleOf(damage.drawable).startsWith(title);
        }
        if (!w.wanted || damage.area.width == 0 || damage.area.height == 0)
            return false;
        record(damage.drawable, w, damage);
        m_watched = &w;
        m_watchedWindow = damage.drawable;
        return true;
    }

    // Keeps the window's pixels where it was drawn, and the count of the banner's navy in them.
    void record(Window window, Watched &w, const DamageNotifyEvent &damage)
    {
        if (w.width != damage.geometry.width || w.height != damage.geometry.height) {
            w.width = damage.geometry.width;
            w.height = damage.geometry.height;
            w.pixels.assign(size_t(w.width) * size_t(w.height), 0);
            w.navy = w.white = 0;
        }
        const int x = std::clamp(int(damage.area.x), 0, w.width);
        const int y = std::clamp(int(damage.area.y), 0, w.height);
        const int right = std::clamp(int(damage.area.x) + int(damage.area.width), 0, w.width);
        const int bottom = std::clamp(int(damage.area.y) + int(damage.area.height), 0, w.height);
        if (right <= x || bottom <= y)
            return;
        XImage *image = XGetImage(m_display, window, x, y, unsigned(right - x),
                                  unsigned(bottom - y), AllPlanes, ZPixmap);
        if (!image)
            return;
        for (int row = y; row < bottom; ++row)
            for (int col = x; col < right; ++col) {
                quint32 &old = w.pixels[size_t(row) * size_t(w.width) + size_t(col)];
                const quint32 now = quint32(XGetPixel(image, col - x, row - y)) & 0xffffff;
                w.navy += long(now == kBannerNavy) - long(old == kBannerNavy);
                w.white += long(now == 0xffffff) - long(old == 0xffffff);
                old = now;
            }
        XDestroyImage(image);
    }

    bool navyShown() const { return m_watched && m_watched->navy >= kBannerPixels; }

    Display *m_display = nullptr;
    Window m_root = 0;
    DamageLibrary m_damage;
    int m_eventBase = 0;
    std::map<Window, Watched> m_windows;
    const Watched *m_watched = nullptr;
    Window m_watchedWindow = 0;
    // BENCH_TRACE=1: every drawing of the watched window, with its counts of navy and white.
    bool m_trace = qEnvironmentVariableIntValue("BENCH_TRACE") != 0;
};

struct Spread
{
    double median, low, high;
};

Spread spread(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

void printRow(const char *label, const std::vector<double> &values)
{
    const Spread s = spread(values);
    std::printf("  %-34s %8.1f ms  (%.1f to %.1f)\n", label, s.median, s.low, s.high);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QString bin = QCoreApplication::applicationDirPath();
    const QString site = bin + QStringLiteral("/site/");
    QTemporaryDir home;
    // The programs' settings and caches stay in here; the program's database is the sample.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral("cache"))));
    const QString database = home.filePath(QStringLiteral("cm1.db"));
    if (QProcess::execute(bin + QStringLiteral("/vantora-db"),
                          {QStringLiteral("create"), database, QStringLiteral("--sample")}) != 0) {
        std::fprintf(stderr, "bench_startup: vantora-db create failed\n");
        return 1;
    }

    // VANTORA=path times another build of the program.
    QString vantora = qEnvironmentVariable("VANTORA");
    if (vantora.isEmpty())
        vantora = bin + QStringLiteral("/vantora");
    const QString banner = QUrl::fromLocalFile(site + QStringLiteral("ban2.htm")).toString();
    const Subject subjects[] = {
        {"bare Qt Widgets window",
         bin + QStringLiteral("/bench_bare_window"),
         {},
         QStringLiteral("bare window"),
         false},
        {"bare window with one web view",
         bin + QStringLiteral("/bench_bare_webview"),
         {banner},
         QStringLiteral("bare window"),
         true},
        {"vantora main window",
         vantora,
         {QStringLiteral("--database"), database, QStringLiteral("--site"),
          QUrl::fromLocalFile(site).toString()},
         QStringLiteral("Vantora Market Pro"),
         true},
    };
    constexpr int kSubjects = int(std::size(subjects));

    Watcher watcher;
    if (!watcher.open())
        return 1;
    std::vector<double> paints[kSubjects], banners[kSubjects];
    // One round first that is not counted: it fills the disk cache and the settings.
    for (int round = 0; round <= rounds; ++round) {
        for (int i = 0; i < kSubjects; ++i) {
            const std::optional<Timing> t = watcher.run(subjects[i]);
            if (!t) {
                std::fprintf(stderr, "bench_startup: %s showed nothing in 30 s\n",
                             subjects[i].label);
                return 1;
            }
            if (round > 0) {
                paints[i].push_back(t->firstPaint);
                if (subjects[i].banner)
                    banners[i].push_back(t->banner);
            }
            usleep(300000); // the machine settles between runs
        }
        if (round > 0)
            std::printf("round %d: first paint %.1f / %.1f / %.1f ms, banner %.1f / %.1f ms\n",
                        round, paints[0].back(), paints[1].back(), paints[2].back(),
                        banners[1].back(), banners[2].back());
    }

    std::printf("\nfrom the start of the process, seen in X damage reports; median of %d rounds "
                "(lowest to highest)\n",
                rounds);
    std::printf("first paint\n");
    printRow(subjects[0].label, paints[0]);
    printRow(subjects[1].label, paints[1]);
    printRow(subjects[2].label, paints[2]);
    const double paint = spread(paints[2]).median / spread(paints[0]).median;
    std::printf("  vantora against the bare Qt Widgets window:  %.2f x\n", paint);
    std::printf("banner page on the screen\n");
    printRow(subjects[1].label, banners[1]);
    printRow(subjects[2].label, banners[2]);
    const double page = spread(banners[2]).median / spread(banners[1]).median;
    std::printf("  vantora against the bare window with one web view:  %.2f x\n", page);
    return 0;
}
