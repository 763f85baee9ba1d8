// SPDX-License-Identifier: GPL-3.0-or-later
// Times how long the game takes from exec to its table window being mapped on the X
// server, and how much memory it peaks at meanwhile, beside a bare Qt window of the same
// size, so the figures say what the game adds over Qt itself. The harness stays free of
// Qt: it must not share a single library load or font cache warm-up with what it measures.
//
// Run it by hand under an X server of its own (run-startup.sh does that):
//   startupbench --game PATH --bare PATH [--runs N] [--warmup N] [--limit R] [--settle-ms MS]

#include "benchtime.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr double MapTimeoutSeconds = 30.0;

struct Program
{
    std::string label;
    std::string path;
    std::string title;
};

struct Sample
{
    double milliseconds = 0;
    long peakRssKiB = 0;
};

struct Options
{
    std::string gamePath;
    std::string barePath;
    int runs = 20;
    int warmup = 1;
    double limit = 1.25;
    int settleMs = 300;
    bool verbose = false;
};

class XWatcher
{
public:
    bool open()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection)) {
            std::fprintf(stderr, "startupbench: cannot open the X display (is DISPLAY set?)\n");
            return false;
        }
        // The child must not inherit our end of the connection.
        const int fd = xcb_get_file_descriptor(m_connection);
        fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);

        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        // With no window manager a top-level window is a child of the root, so its
        // MapNotify reaches whoever watches the root's substructure.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_generic_error_t *error =
            xcb_request_check(m_connection, xcb_change_window_attributes_checked(
                                                m_connection, m_root, XCB_CW_EVENT_MASK, &mask));
        if (error) {
            std::fprintf(stderr, "startupbench: cannot watch the root window\n");
            std::free(error);
            return false;
        }
        m_netWmName = atom("_NET_WM_NAME");
        return true;
    }

    ~XWatcher()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
    }

    void drain()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

    // Waits for a window titled `title` to be mapped and gives the monotonic time it was
    // seen, or nothing if the child died first or the wait ran out.
    std::optional<double> waitForMap(const std::string &title, pid_t child)
    {
        const double deadline = monotonicSeconds() + MapTimeoutSeconds;
        const int fd = xcb_get_file_descriptor(m_connection);
        while (monotonicSeconds() < deadline) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const double seen = monotonicSeconds();
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t window =
                    mapped ? reinterpret_cast<xcb_map_notify_event_t *>(event)->window : 0;
                std::free(event);
                if (mapped && windowTitle(window) == title)
                    return seen;
            }
            if (xcb_connection_has_error(m_connection)) {
                std::fprintf(stderr, "startupbench: lost the X connection\n");
                return std::nullopt;
            }
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) {
                std::fprintf(stderr, "startupbench: the program ended before showing \"%s\"\n",
                             title.c_str());
                return std::nullopt;
            }
            pollfd readable{fd, POLLIN, 0};
            poll(&readable, 1, 50);
        }
        std::fprintf(stderr, "startupbench: no window \"%s\" within %.0f s\n", title.c_str(),
                     MapTimeoutSeconds);
        return std::nullopt;
    }

private:
    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    }

    std::string property(xcb_window_t window, xcb_atom_t name)
    {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr);
        std::string value;
        if (reply && reply->format == 8)
            value.assign(static_cast<const char *>(xcb_get_property_value(reply)),
                         size_t(xcb_get_property_value_length(reply)));
        std::free(reply);
        return value;
    }

    // Qt writes the UTF-8 title; the Latin-1 one is the fallback older clients read.
    std::string windowTitle(xcb_window_t window)
    {
        std::string title = property(window, m_netWmName);
        return title.empty() ? property(window, XCB_ATOM_WM_NAME) : title;
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_netWmName = XCB_ATOM_NONE;
};

std::optional<Sample> measure(XWatcher &watcher, const Program &program, int settleMs)
{
    // The game keeps its records in the working directory: a fresh one per run means
    // every start reads the same (missing) files and none leaks into the next.
    std::string pattern = (std::filesystem::temp_directory_path() / "startupbench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("startupbench: mkdtemp");
        return std::nullopt;
    }
    const std::filesystem::path workDir = pattern;

    watcher.drain();
    const double started = monotonicSeconds();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("startupbench: fork");
        std::filesystem::remove_all(workDir);
        return std::nullopt;
    }
    if (child == 0) {
        // Should the harness be stopped mid-run, the program must not outlive it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (chdir(workDir.c_str()) != 0)
            _exit(126);
        char *const argv[] = {const_cast<char *>(program.path.c_str()), nullptr};
        execv(program.path.c_str(), argv);
        _exit(127);
    }

    const std::optional<double> shown = watcher.waitForMap(program.title, child);
    if (shown)
        sleepMilliseconds(settleMs); // let it finish settling so the peak is the shown window's

    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    // waitForMap may already have reaped a child that died; then there is nothing to wait for.
    const pid_t reaped = wait4(child, &status, 0, &usage);
    std::error_code ignored;
    std::filesystem::remove_all(workDir, ignored);
    if (!shown || reaped != child)
        return std::nullopt;

    Sample sample;
    sample.milliseconds = (*shown - started) * 1000.0;
    sample.peakRssKiB = usage.ru_maxrss; // Linux gives kibibytes
    return sample;
}

template<typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : T((values[n / 2 - 1] + values[n / 2]) / 2);
}

void usage()
{
    std::fprintf(stderr,
                 "usage: startupbench --game PATH --bare PATH [--runs N] [--warmup N]\n"
                 "                    [--limit RATIO] [--settle-ms MS] [--verbose]\n");
}

std::optional<Options> parse(int argc, char *argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--game" && hasValue) {
            options.gamePath = argv[++i];
        } else if (arg == "--bare" && hasValue) {
            options.barePath = argv[++i];
        } else if (arg == "--runs" && hasValue) {
            options.runs = std::atoi(argv[++i]);
        } else if (arg == "--warmup" && hasValue) {
            options.warmup = std::atoi(argv[++i]);
        } else if (arg == "--limit" && hasValue) {
            options.limit = std::atof(argv[++i]);
        } else if (arg == "--settle-ms" && hasValue) {
            options.settleMs = std::atoi(argv[++i]);
        } else {
            return std::nullopt;
        }
    }
    if (options.gamePath.empty() || options.barePath.empty() || options.runs < 1
        || options.warmup < 0 || options.limit <= 0 || options.settleMs < 0)
        return std::nullopt;
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::optional<Options> parsed = parse(argc, argv);
    if (!parsed) {
        usage();
        return 2;
    }
    const Options &options = *parsed;

    XWatcher watcher;
    if (!watcher.open())
        return 2;

    const Program programs[2] = {{"bare window", options.barePath, "Bare"},
                                 {"marigold", options.gamePath, "Marigold"}};
    std::vector<Sample> samples[2];

    // Warm-up runs fill the page cache and fontconfig's cache, so the first measured
    // run does not pay for loading from disk what every later run gets for free.
    // The two programs take turns so that drift in the machine's load falls on both.
    for (int run = 0; run < options.warmup + options.runs; ++run) {
        for (int which = 0; which < 2; ++which) {
            const std::optional<Sample> sample = measure(watcher, programs[which], options.settleMs);
            if (!sample)
                return 2;
            const bool counted = run >= options.warmup;
            if (counted)
                samples[which].push_back(*sample);
            if (options.verbose)
                std::fprintf(stderr, "%s run %d %-12s %8.1f ms %8ld KiB\n",
                             counted ? "   " : "warm-up", run, programs[which].label.c_str(),
                             sample->milliseconds, sample->peakRssKiB);
        }
    }

    double medianMs[2];
    double minMs[2];
    double medianRssMiB[2];
    for (int which = 0; which < 2; ++which) {
        std::vector<double> times;
        std::vector<long> rss;
        for (const Sample &sample : samples[which]) {
            times.push_back(sample.milliseconds);
            rss.push_back(sample.peakRssKiB);
        }
        medianMs[which] = median(times);
        minMs[which] = *std::min_element(times.begin(), times.end());
        medianRssMiB[which] = double(median(rss)) / 1024.0;
    }
    const double timeRatio = medianMs[1] / medianMs[0];
    const double rssRatio = medianRssMiB[1] / medianRssMiB[0];
    const bool timePass = timeRatio <= options.limit;
    const bool rssPass = rssRatio <= options.limit;

    std::printf("Start-up to first map, %d runs each, alternating (%d warm-up)\n", options.runs,
                options.warmup);
    std::printf("%-14s %12s %12s %16s\n", "program", "median ms", "min ms", "median peak RSS");
    for (int which = 0; which < 2; ++which)
        std::printf("%-14s %12.1f %12.1f %12.1f MiB\n", programs[which].label.c_str(),
                    medianMs[which], minMs[which], medianRssMiB[which]);
    std::printf("%-14s %12.2fx %11.2fx %15.2fx\n", "game / bare", timeRatio, minMs[1] / minMs[0],
                rssRatio);
    std::printf("time:   %s (median ratio %.2f, limit %.2f)\n", timePass ? "PASS" : "FAIL",
                timeRatio, options.limit);
    std::printf("memory: %s (median ratio %.2f, limit %.2f)\n", rssPass ? "PASS" : "FAIL",
                rssRatio, options.limit);
    return timePass && rssPass ? 0 : 1;
}
