// SPDX-License-Identifier: GPL-3.0-or-later
// Times a click on a window to the repaint it causes: from the moment the X server is
// handed a synthetic button press (XTEST) to the moment it reports (DAMAGE) new pixels
// in a watched rectangle of that window. Used for the stock click, whose answer is a new
// card on the waste. Free of Qt, like the start-up harness, and it touches nothing inside
// the game: what it sees is what reached the screen.
//
// Run it by hand under an X server of its own (run-all.sh does that), with the game
// already dealt:
//   clickbench --window ID --click X,Y --watch X,Y,W,H [--runs N] [--gap-ms MS]
// Coordinates are in the window's own pixels. Prints one line per run on stderr and the
// median, minimum and maximum in milliseconds on stdout.

#include "benchtime.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include <poll.h>

namespace {

constexpr double RepaintTimeoutSeconds = 5.0;
constexpr xcb_button_t LeftButton = 1;

struct Rect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool intersects(const xcb_rectangle_t &other) const
    {
        return other.x < x + width && x < other.x + other.width && other.y < y + height
               && y < other.y + other.height;
    }
};

struct Options
{
    xcb_window_t window = 0;
    int clickX = -1;
    int clickY = -1;
    Rect watch;
    int runs = 20;
    int gapMs = 400;
};

class Clicker
{
public:
    ~Clicker()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
    }

    bool open(xcb_window_t window)
    {
        m_window = window;
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection)) {
            std::fprintf(stderr, "clickbench: cannot open the X display (is DISPLAY set?)\n");
            return false;
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;

        const xcb_query_extension_reply_t *damage = xcb_get_extension_data(m_connection, &xcb_damage_id);
        const xcb_query_extension_reply_t *xtest = xcb_get_extension_data(m_connection, &xcb_test_id);
        if (!damage || !damage->present || !xtest || !xtest->present) {
            std::fprintf(stderr, "clickbench: the X server lacks DAMAGE or XTEST\n");
            return false;
        }
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        std::free(xcb_damage_query_version_reply(
            m_connection, xcb_damage_query_version(m_connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
            nullptr));

        // The window's place on the screen, for the pointer.
        xcb_translate_coordinates_reply_t *place = xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, m_window, m_root, 0, 0), nullptr);
        if (!place) {
            std::fprintf(stderr, "clickbench: no window 0x%x\n", m_window);
            return false;
        }
        m_left = place->dst_x;
        m_top = place->dst_y;
        std::free(place);

        // One event per drawing operation, each with its own rectangle.
        m_damage = xcb_generate_id(m_connection);
        xcb_generic_error_t *error = xcb_request_check(
            m_connection, xcb_damage_create_checked(m_connection, m_damage, m_window,
                                                    XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES));
        if (error) {
            std::fprintf(stderr, "clickbench: cannot watch the window's damage\n");
            std::free(error);
            return false;
        }
        return true;
    }

    std::vector<uint8_t> pixels(const Rect &area)
    {
        std::vector<uint8_t> result;
        xcb_get_image_reply_t *image = xcb_get_image_reply(
            m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window, int16_t(area.x), int16_t(area.y),
                          uint16_t(area.width), uint16_t(area.height), ~0u),
            nullptr);
        if (image) {
            const uint8_t *data = xcb_get_image_data(image);
            result.assign(data, data + xcb_get_image_data_length(image));
            std::free(image);
        }
        return result;
    }

    void drain()
    {
        xcb_flush(m_connection);
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

    // Presses and releases the button at the window point and waits until the watched
    // area shows something other than `before`; gives the milliseconds taken.
    std::optional<double> clickAndWait(int x, int y, const Rect &watch, const std::vector<uint8_t> &before)
    {
        xcb_test_fake_input(m_connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root,
                            int16_t(m_left + x), int16_t(m_top + y), 0);
        // The pointer's move is settled before the clock starts, so the figure is the
        // click alone.
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        drain();

        const double start = monotonicSeconds();
        xcb_test_fake_input(m_connection, XCB_BUTTON_PRESS, LeftButton, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(m_connection, XCB_BUTTON_RELEASE, LeftButton, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(m_connection);

        const double deadline = start + RepaintTimeoutSeconds;
        const int fd = xcb_get_file_descriptor(m_connection);
        while (monotonicSeconds() < deadline) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const double seen = monotonicSeconds();
                const bool damaged = (event->response_type & 0x7f) == m_damageEvent
                                     && watch.intersects(reinterpret_cast<xcb_damage_notify_event_t *>(event)->area);
                std::free(event);
                // Damage only says pixels were drawn there; a new card means they changed.
                if (damaged && pixels(watch) != before)
                    return (seen - start) * 1000.0;
            }
            if (xcb_connection_has_error(m_connection)) {
                std::fprintf(stderr, "clickbench: lost the X connection\n");
                return std::nullopt;
            }
            pollfd wait{fd, POLLIN, 0};
            poll(&wait, 1, 50);
        }
        return std::nullopt;
    }

private:
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_window_t m_window = 0;
    xcb_damage_damage_t m_damage = 0;
    uint8_t m_damageEvent = 0;
    int m_left = 0;
    int m_top = 0;
};

bool parseInts(const char *text, std::vector<int> &out, size_t count)
{
    out.clear();
    std::string rest(text);
    size_t at = 0;
    while (out.size() < count) {
        char *end = nullptr;
        const long value = std::strtol(rest.c_str() + at, &end, 10);
        if (end == rest.c_str() + at)
            return false;
        out.push_back(int(value));
        at = size_t(end - rest.c_str());
        if (rest[at] == ',')
            ++at;
        else
            break;
    }
    return out.size() == count && at == rest.size();
}

std::optional<Options> parseOptions(int argc, char *argv[])
{
    Options options;
    std::vector<int> numbers;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char *value = argv[i + 1];
        if (name == "--window")
            options.window = xcb_window_t(std::strtoul(value, nullptr, 0));
        else if (name == "--click" && parseInts(value, numbers, 2)) {
            options.clickX = numbers[0];
            options.clickY = numbers[1];
        } else if (name == "--watch" && parseInts(value, numbers, 4))
            options.watch = {numbers[0], numbers[1], numbers[2], numbers[3]};
        else if (name == "--runs")
            options.runs = std::atoi(value);
        else if (name == "--gap-ms")
            options.gapMs = std::atoi(value);
        else
            return std::nullopt;
    }
    if (argc % 2 == 0 || options.window == 0 || options.clickX < 0 || options.watch.width <= 0
        || options.runs < 1)
        return std::nullopt;
    return options;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: clickbench --window ID --click X,Y --watch X,Y,W,H [--runs N] [--gap-ms MS]\n");
        return 2;
    }
    Clicker clicker;
    if (!clicker.open(options->window))
        return 2;

    std::vector<double> times;
    for (int run = 1; run <= options->runs; ++run) {
        const std::vector<uint8_t> before = clicker.pixels(options->watch);
        const std::optional<double> ms = clicker.clickAndWait(options->clickX, options->clickY, options->watch, before);
        if (!ms) {
            std::fprintf(stderr, "clickbench: run %d: no repaint within %.0f s\n", run, RepaintTimeoutSeconds);
            return 1;
        }
        std::fprintf(stderr, "run %2d %8.2f ms\n", run, *ms);
        times.push_back(*ms);
        sleepMilliseconds(options->gapMs);
    }
    std::printf("%.2f %.2f %.2f\n", median(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));
    return 0;
}
