// Starts a program on the X display in $DISPLAY and reports, from outside the program,
// how long it took from the start of the process until its first window was mapped and
// every pixel of it had been drawn, then how much memory the process holds once it has
// gone quiet.
//
// "Drawn" is judged with the X DAMAGE extension: each drawing request into the window
// reports the rectangle it touched, and the window counts as painted when those
// rectangles together cover it. Qt creates its windows with no background, so mapping
// alone draws nothing; only the program's own paint does. Watching from outside keeps
// the measured program exactly the shipped one, with no switch or hook inside it.
//
// Usage: startup_probe [--settle-ms N] [--keep] [--verbose] -- program [args...]
// Prints one line: startup_ms=... cpu_to_paint_ms=... pid=... window=0x... colours=...
// hwm_kb=... rss_kb=... cpu_ms=..., the last three as of the moment the program went quiet.
// With --keep the program is left running (the caller ends it); otherwise it is ended.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Tracked {
    int width = 0;
    int height = 0;
    bool mapped = false;
    std::vector<unsigned char> covered; // one byte per pixel once mapped
    long coveredCount = 0;
};

long StatusKb(pid_t pid, const char* key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::size_t n = std::strlen(key);
    while (std::getline(in, line)) {
        if (line.compare(0, n, key) == 0 && line.size() > n && line[n] == ':')
            return std::strtol(line.c_str() + n + 1, nullptr, 10);
    }
    return -1;
}

// User plus system time of every thread the process has had, in milliseconds.
long CpuMs(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = all.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream rest(all.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    // Fields after the name start at 3 (state); utime is 14 and stime 15.
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::atol(field.c_str());
        if (i == 15) stime = std::atol(field.c_str());
    }
    return (utime + stime) * 1000 / sysconf(_SC_CLK_TCK);
}

// Time on a CPU of the threads the process has now, in milliseconds, to the nanosecond:
// unlike the wall clock it hardly changes when other programs compete for the CPU.
double OnCpuMs(pid_t pid) {
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    struct CloseDir {
        void operator()(DIR* d) const { closedir(d); }
    };
    std::unique_ptr<DIR, CloseDir> tasks(opendir(dir.c_str()));
    if (!tasks) return -1;
    double ns = 0;
    while (dirent* entry = readdir(tasks.get())) {
        if (entry->d_name[0] == '.') continue;
        std::ifstream in(dir + "/" + entry->d_name + "/schedstat");
        double onCpu = 0;
        if (in >> onCpu) ns += onCpu;
    }
    return ns / 1e6;
}

void Cover(Tracked& t, const xcb_rectangle_t& r) {
    const int x0 = std::max(0, static_cast<int>(r.x));
    const int y0 = std::max(0, static_cast<int>(r.y));
    const int x1 = std::min(t.width, r.x + static_cast<int>(r.width));
    const int y1 = std::min(t.height, r.y + static_cast<int>(r.height));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            unsigned char& c = t.covered[static_cast<std::size_t>(y) * t.width + x];
            if (!c) {
                c = 1;
                ++t.coveredCount;
            }
        }
}

// How many colours the window shows, counted up to 64: a window covered in one flat
// colour has not been painted yet, whatever the damage said.
int DistinctColours(xcb_connection_t* c, xcb_window_t w, const Tracked& t) {
    xcb_get_image_reply_t* image = xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, static_cast<uint16_t>(t.width),
                      static_cast<uint16_t>(t.height), ~0u),
        nullptr);
    if (!image) return 0;
    std::vector<uint32_t> seen;
    const int bytes = xcb_get_image_data_length(image);
    const uint8_t* data = xcb_get_image_data(image);
    for (int i = 0; i + 4 <= bytes && seen.size() < 64; i += 4) {
        uint32_t px;
        std::memcpy(&px, data + i, 4);
        if (std::find(seen.begin(), seen.end(), px) == seen.end()) seen.push_back(px);
    }
    std::free(image);
    return static_cast<int>(seen.size());
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "startup_probe: %s\n", what);
    std::exit(2);
}

} // namespace

int main(int argc, char* argv[]) {
    int settleMs = 0;
    bool keep = false;
    bool verbose = false;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string a = argv[first];
        if (a == "--settle-ms" && first + 1 < argc)
            settleMs = std::atoi(argv[++first]);
        else if (a == "--keep")
            keep = true;
        else if (a == "--verbose")
            verbose = true;
        else if (a == "--") {
            ++first;
            break;
        } else
            break;
    }
    if (first >= argc)
        Fail("usage: startup_probe [--settle-ms N] [--keep] [--verbose] -- program [args]");

    int screenNo = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNo);
    if (xcb_connection_has_error(c)) Fail("cannot open the display");
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_damage_id);
    if (!ext || !ext->present) Fail("the display has no DAMAGE extension");
    std::free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const uint8_t damageEvent = ext->first_event + XCB_DAMAGE_NOTIFY;

    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNo; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) Fail("fork failed");
    if (pid == 0) {
        if (!verbose) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
        }
        execvp(argv[first], argv + first);
        _exit(127);
    }

    std::map<xcb_window_t, Tracked> windows;
    xcb_window_t painted = XCB_NONE;
    const int fd = xcb_get_file_descriptor(c);
    const Clock::time_point deadline = start + std::chrono::seconds(30);
    while (painted == XCB_NONE) {
        xcb_generic_event_t* ev = xcb_poll_for_event(c);
        if (!ev) {
            if (xcb_connection_has_error(c)) Fail("the display connection broke");
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) Fail("the program ended before painting");
            if (Clock::now() > deadline) {
                kill(pid, SIGKILL);
                Fail("no painted window within 30 s");
            }
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 100);
            continue;
        }
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> hold(ev, &std::free);
        const uint8_t type = ev->response_type & 0x7f;
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (type == XCB_CREATE_NOTIFY) {
            auto* e = reinterpret_cast<xcb_create_notify_event_t*>(ev);
            if (e->parent != root || e->override_redirect) continue;
            Tracked& t = windows[e->window];
            t.width = e->width;
            t.height = e->height;
            xcb_damage_create(c, xcb_generate_id(c), e->window,
                              XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
            xcb_flush(c);
            if (verbose)
                std::fprintf(stderr, "%8.1f ms create 0x%x %dx%d\n", ms, e->window, t.width,
                             t.height);
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            auto* e = reinterpret_cast<xcb_configure_notify_event_t*>(ev);
            auto found = windows.find(e->window);
            if (found == windows.end() || found->second.mapped) continue;
            found->second.width = e->width;
            found->second.height = e->height;
        } else if (type == XCB_MAP_NOTIFY) {
            auto* e = reinterpret_cast<xcb_map_notify_event_t*>(ev);
            auto found = windows.find(e->window);
            if (found == windows.end()) continue;
            Tracked& t = found->second;
            t.mapped = true;
            t.covered.assign(static_cast<std::size_t>(t.width) * t.height, 0);
            t.coveredCount = 0;
            if (verbose)
                std::fprintf(stderr, "%8.1f ms map 0x%x %dx%d\n", ms, e->window, t.width, t.height);
        } else if (type == damageEvent) {
            auto* e = reinterpret_cast<xcb_damage_notify_event_t*>(ev);
            auto found = windows.find(e->drawable);
            if (found == windows.end() || !found->second.mapped) continue;
            Tracked& t = found->second;
            Cover(t, e->area);
            if (verbose)
                std::fprintf(stderr, "%8.1f ms damage 0x%x %d,%d %dx%d covered %ld/%ld\n", ms,
                             e->drawable, e->area.x, e->area.y, e->area.width, e->area.height,
                             t.coveredCount, static_cast<long>(t.width) * t.height);
            if (t.coveredCount == static_cast<long>(t.width) * t.height) painted = e->drawable;
        }
    }
    const double startupMs =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const double cpuToPaintMs = OnCpuMs(pid);
    const int colours = DistinctColours(c, painted, windows[painted]);

    // Quiet means no CPU used for 300 ms on end (the program may finish work it put off
    // until after the window showed); give up waiting after settleMs.
    if (settleMs > 0) {
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(settleMs);
        long last = CpuMs(pid);
        int quietFor = 0;
        while (Clock::now() < until && quietFor < 300) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const long now = CpuMs(pid);
            quietFor = now == last ? quietFor + 50 : 0;
            last = now;
        }
    }
    const long hwm = StatusKb(pid, "VmHWM");
    const long rss = StatusKb(pid, "VmRSS");
    const long cpu = CpuMs(pid);
    std::printf("startup_ms=%.1f cpu_to_paint_ms=%.1f pid=%d window=0x%x colours=%d hwm_kb=%ld "
                "rss_kb=%ld cpu_ms=%ld\n",
                startupMs, cpuToPaintMs, static_cast<int>(pid), painted, colours, hwm, rss, cpu);
    std::fflush(stdout);
    xcb_disconnect(c);
    if (!keep) {
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
    }
    return 0;
}
