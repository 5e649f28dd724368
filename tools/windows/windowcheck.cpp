// Plays the game in its real window, as a player would, and checks what the screen shows (built
// by tools/windows.sh, run by window-check.sh under Wine): the game started as a shortcut or as
// Explorer starts it, its windows by their exact captions and sizes, a wave followed through
// screenshots against the sample pictures, a target shot and seen as the fireball with its hits
// value, the precision at the end, and Exit.
//
//   windowcheck <shortcut.lnk | program.exe> <pictures folder> <screenshots folder> [--short]
//
// The pictures folder holds PPM copies of the samples (pic0.ppm...), of the fireball and
// of the built-in target (fireball.ppm, fallback.ppm). --short stops after the first target.
// Screenshots are written as PPM files; every check prints a line, and a failed one ends the
// program with exit code 1.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The windows as the game defines them: captions, and places in logical pixels of the main
// window's client area below its menu bar (range/frmmain.ui, countdown/frmstart.ui).
const std::wstring mainCaption = L"    --= VARKOZ 1.0 beta =--";
const std::wstring countdownCaption = L"               START";
constexpr SIZE mainClient {337, 387};
constexpr SIZE countdownClient {167, 67};
constexpr POINT startButton {80 + 40, 296 + 12};
constexpr POINT exitButton {176 + 40, 296 + 12};
constexpr RECT hitsValue {176, 328, 176 + 81, 328 + 17};
constexpr RECT precisionValue {176, 360, 176 + 81, 360 + 17};
constexpr int holeSize = 81;
constexpr int ticksPerWave = 20;

RECT holeRect(int index)
{
    const int left = 40 + 88 * (index % 3);
    const int top = 24 + 88 * (index / 3);
    return {left, top, left + holeSize, top + holeSize};
}

void say(const std::string &line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// The game under test, ended when a check fails, and where the screenshots go.
HANDLE g_game = nullptr;
std::wstring g_shots;

void saveWholeScreen(const std::wstring &fileName);

[[noreturn]] void fail(const std::string &why)
{
    say("FAILED: " + why);
    if (!g_shots.empty())
        saveWholeScreen(std::exchange(g_shots, {}) + L"\\failed.ppm");
    if (g_game)
        TerminateProcess(g_game, 1);
    std::exit(1);
}

void check(bool condition, const std::string &what)
{
    if (!condition)
        fail(what);
    say("ok: " + what);
}

std::string narrow(const std::wstring &text)
{
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

// Waits, handling this thread's messages meanwhile, as a well-behaved program does: a program
// that sends messages to every thread's windows would otherwise wait for this one.
void pause(std::chrono::milliseconds time)
{
    const auto until = Clock::now() + time;
    for (auto now = Clock::now(); now < until; now = Clock::now()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left.count()), QS_ALLINPUT);
    }
}

// A picture as 0x00RRGGBB pixels, row by row from the top.
struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// The screen's pixels in a rectangle of screen coordinates, as a screenshot takes them.
Picture grab(const RECT &rect)
{
    Picture picture {rect.right - rect.left, rect.bottom - rect.top, {}};
    picture.pixels.resize(std::size_t(picture.width) * picture.height);
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto *source = static_cast<const std::uint32_t *>(bits);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = source[i] & 0xffffffu;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

Picture part(const Picture &picture, const RECT &rect)
{
    Picture result {rect.right - rect.left, rect.bottom - rect.top, {}};
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            result.pixels.push_back(picture.at(x, y));
    return result;
}

// A binary PPM file: easy to write, and image viewers and ImageMagick read it.
void save(const Picture &picture, const std::wstring &fileName)
{
    std::ofstream out(fileName.c_str(), std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    for (std::uint32_t pixel : picture.pixels)
        out << char(pixel >> 16) << char(pixel >> 8) << char(pixel);
    if (!out)
        fail("cannot write " + narrow(fileName));
}

void saveWholeScreen(const std::wstring &fileName)
{
    save(grab({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}), fileName);
}

// A binary PPM file of 8 bits a channel, as ImageMagick writes them.
Picture load(const std::wstring &fileName)
{
    std::ifstream in(fileName.c_str(), std::ios::binary);
    std::string magic;
    int most = 0;
    Picture picture;
    in >> magic >> picture.width >> picture.height >> most;
    in.get();
    if (!in || magic != "P6" || most != 255)
        fail("cannot read the picture " + narrow(fileName));
    for (int i = 0; in && i < picture.width * picture.height; ++i) {
        unsigned char rgb[3] {};
        in.read(reinterpret_cast<char *>(rgb), 3);
        picture.pixels.push_back(std::uint32_t(rgb[0]) << 16 | std::uint32_t(rgb[1]) << 8 | rgb[2]);
    }
    if (!in)
        fail("the picture " + narrow(fileName) + " ends early");
    return picture;
}

// How far apart two pictures are where the first lies: the mean difference of a colour channel
// (0 the same, 255 opposite).
double distance(const Picture &seen, const Picture &reference)
{
    if (seen.width < reference.width || seen.height < reference.height)
        return 255;
    std::uint64_t sum = 0;
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            const std::uint32_t a = seen.at(x, y);
            const std::uint32_t b = reference.at(x, y);
            for (int shift : {0, 8, 16})
                sum += std::uint32_t(std::abs(int(a >> shift & 0xff) - int(b >> shift & 0xff)));
        }
    }
    return double(sum) / (3.0 * reference.width * reference.height);
}

// Whether the picture has more than one colour: text on a label.
bool hasInk(const Picture &picture)
{
    return std::any_of(picture.pixels.begin(), picture.pixels.end(),
                       [&](std::uint32_t colour) { return colour != picture.pixels.front(); });
}

struct Game
{
    PROCESS_INFORMATION process {};
    HWND window = nullptr;
    int menuHeight = 0;

    RECT screenRect(const RECT &client) const
    {
        POINT origin {0, menuHeight};
        ClientToScreen(window, &origin);
        return {origin.x + client.left, origin.y + client.top, origin.x + client.right,
                origin.y + client.bottom};
    }
    Picture shot() const { return grab(screenRect({0, 0, mainClient.cx, mainClient.cy})); }
    // A press and release of the left button at a point of the client area below the menu bar:
    // the pointer moves there first, and each event says where it happens.
    void click(POINT point) const
    {
        POINT screen {point.x, point.y + menuHeight};
        ClientToScreen(window, &screen);
        const auto event = [&](DWORD what) {
            INPUT input {};
            input.type = INPUT_MOUSE;
            input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
            input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
            input.mi.dwFlags = what | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            SendInput(1, &input, sizeof input);
            pause(50ms);
        };
        event(0);
        event(MOUSEEVENTF_LEFTDOWN);
        event(MOUSEEVENTF_LEFTUP);
    }
};

struct WindowSearch
{
    DWORD processId;
    const std::wstring *caption;
    HWND found;
};

// The process's visible top-level window with exactly this caption.
HWND findWindow(DWORD processId, const std::wstring &caption)
{
    WindowSearch search {processId, &caption, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto *search = reinterpret_cast<WindowSearch *>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != search->processId || !IsWindowVisible(window))
                return TRUE;
            wchar_t text[256] {};
            GetWindowTextW(window, text, 256);
            if (*search->caption != text)
                return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(DWORD processId, const std::wstring &caption, std::chrono::seconds longest)
{
    const auto until = Clock::now() + longest;
    while (Clock::now() < until) {
        if (HWND window = findWindow(processId, caption))
            return window;
        pause(50ms);
    }
    return nullptr;
}

SIZE clientSize(HWND window)
{
    RECT client {};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

// Starts the program the way the shell does: a shortcut with its program, arguments and
// working folder; a program file in its own folder, as Explorer starts it.
PROCESS_INFORMATION start(const std::wstring &target)
{
    std::wstring program = target;
    std::wstring arguments;
    std::wstring folder;
    if (target.size() > 4 && _wcsicmp(target.c_str() + target.size() - 4, L".lnk") == 0) {
        IShellLinkW *link = nullptr;
        IPersistFile *file = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void **>(&link)))
            || FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))
            || FAILED(file->Load(target.c_str(), STGM_READ)))
            fail("cannot read the shortcut " + narrow(target));
        wchar_t text[MAX_PATH] {};
        link->GetPath(text, MAX_PATH, nullptr, 0);
        program = text;
        link->GetArguments(text, MAX_PATH);
        arguments = text;
        link->GetWorkingDirectory(text, MAX_PATH);
        folder = text;
        file->Release();
        link->Release();
        say("the shortcut starts " + narrow(program) + " in " + narrow(folder));
    } else {
        folder = program.substr(0, program.find_last_of(L"\\/"));
        say("started as Explorer starts a program: " + narrow(program) + " in " + narrow(folder));
    }
    check(!folder.empty(), "the program starts in a folder of its own");
    const DWORD pix = GetFileAttributesW((folder + L"\\pix\\pic0.jpg").c_str());
    check(pix != INVALID_FILE_ATTRIBUTES, "that folder has pix\\pic0.jpg");

    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        fail("cannot start " + narrow(program));
    return process;
}

// How many pixels lower than the hole's place the sample shows best, from -3 to 3, and how well.
std::pair<int, double> bestOffset(const Picture &screen, int hole, const Picture &sample)
{
    std::pair<int, double> best {0, 255.0};
    for (int dy = -3; dy <= 3; ++dy) {
        RECT rect = holeRect(hole);
        OffsetRect(&rect, 0, dy);
        if (const double d = distance(part(screen, rect), sample); d < best.second)
            best = {dy, d};
    }
    return best;
}

// Which picture a hole shows: a sample's number, -1 for the built-in target, -2 for the
// fireball, or nothing when it shows none of them (or is empty).
std::optional<int> recognise(const Picture &hole, const std::vector<Picture> &samples,
                             const Picture &fallback, const Picture &fireball)
{
    if (distance(hole, fireball) < 1.0)
        return -2;
    if (distance(hole, fallback) < 1.0)
        return -1;
    // The samples are JPEG files, which another decoder may round a little differently.
    for (std::size_t number = 0; number < samples.size(); ++number)
        if (distance(hole, samples[number]) < 4.0)
            return int(number);
    return std::nullopt;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: windowcheck <shortcut.lnk | program.exe> <pictures folder> "
                     "<screenshots folder> [--short]\n");
        return 2;
    }
    const std::wstring target = argv[1];
    const std::wstring pictures = argv[2];
    const std::wstring shots = argv[3];
    g_shots = shots;
    const bool whole = !(argc > 4 && std::wstring(argv[4]) == L"--short");
    CoInitialize(nullptr);
    // Screen pixels are device pixels: this program sees the screen as the game does.
    SetProcessDPIAware();

    std::vector<Picture> samples;
    for (int number = 0;; ++number) {
        const std::wstring name = pictures + L"\\pic" + std::to_wstring(number) + L".ppm";
        if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES)
            break;
        samples.push_back(load(name));
    }
    check(!samples.empty(), std::to_string(samples.size()) + " sample pictures to look for");
    const Picture fallback = load(pictures + L"\\fallback.ppm");
    const Picture fireball = load(pictures + L"\\fireball.ppm");

    Game game;
    game.process = start(target);
    g_game = game.process.hProcess;
    game.window = waitForWindow(game.process.dwProcessId, mainCaption, 60s);
    check(game.window != nullptr,
          "the main window is up, with the caption \"" + narrow(mainCaption) + "\"");
    const SIZE client = clientSize(game.window);
    game.menuHeight = client.cy - mainClient.cy;
    // Where the menu bar ends, the targets tell (below): here the height is only plausible.
    check(client.cx == mainClient.cx && game.menuHeight > 10 && game.menuHeight < 40,
          "its client area is " + std::to_string(client.cx) + " x " + std::to_string(client.cy)
              + ", room for a menu bar of " + std::to_string(game.menuHeight)
              + " pixels above 337 x 387");
    pause(1s);
    const Picture before = game.shot();
    save(before, shots + L"\\1-main.ppm");
    bool empty = true;
    for (int hole = 0; hole < 9; ++hole)
        empty = empty && !recognise(part(before, holeRect(hole)), samples, fallback, fireball);
    check(empty, "the nine holes are empty before the wave");
    check(!hasInk(part(before, hitsValue)), "no hits value before the wave");

    game.click(startButton);
    const HWND countdown = waitForWindow(game.process.dwProcessId, countdownCaption, 5s);
    check(countdown != nullptr,
          "a press of Start brings up the countdown window, \"" + narrow(countdownCaption) + "\"");
    const SIZE countdownSize = clientSize(countdown);
    check(countdownSize.cx == countdownClient.cx && countdownSize.cy == countdownClient.cy,
          "its client area is " + std::to_string(countdownSize.cx) + " x "
              + std::to_string(countdownSize.cy));
    pause(500ms);
    RECT countdownRect {};
    GetClientRect(countdown, &countdownRect);
    MapWindowPoints(countdown, nullptr, reinterpret_cast<POINT *>(&countdownRect), 2);
    save(grab(countdownRect), shots + L"\\2-countdown.ppm");

    // The countdown runs five seconds; then the wave: a target in one hole after another.
    const auto countdownEnds = Clock::now() + 8s;
    while (IsWindowVisible(countdown) && Clock::now() < countdownEnds)
        pause(20ms);
    check(!IsWindowVisible(countdown), "the countdown window goes when the wave begins");

    int targets = 0;
    int lastHole = -1;
    bool shotFired = false;
    bool fireballSeen = false;
    int unknownSeen = 0;
    const auto waveStart = Clock::now();
    auto lastSeen = waveStart;
    while (Clock::now() - lastSeen < 2s) {
        const Picture screen = game.shot();
        int standing = -1;
        std::optional<int> shown;
        for (int hole = 0; hole < 9 && standing < 0; ++hole) {
            const Picture seen = part(screen, holeRect(hole));
            if ((shown = recognise(seen, samples, fallback, fireball))) {
                standing = hole;
            } else if (distance(seen, part(before, holeRect(hole))) > 1.0 && unknownSeen < 5
                       && Clock::now() - waveStart > 500ms) {
                // Something else than the empty hole and none of the pictures (looked at once the
                // countdown window can no longer be seen where it stood): kept for a look.
                ++unknownSeen;
                save(screen, shots + L"\\unknown-" + std::to_wstring(unknownSeen) + L".ppm");
                say("hole " + std::to_string(hole + 1) + " shows no known picture (unknown-"
                    + std::to_string(unknownSeen) + ".ppm)");
            }
        }
        if (standing < 0) {
            pause(20ms);
            continue;
        }
        lastSeen = Clock::now();
        if (*shown == -2) {
            if (!fireballSeen) {
                fireballSeen = true;
                save(screen, shots + L"\\4-hit.ppm");
                check(standing == lastHole, "the target shot turns into the fireball");
                check(hasInk(part(screen, hitsValue)), "a hits value appears");
            }
            pause(20ms);
            continue;
        }
        if (standing != lastHole) {
            ++targets;
            lastHole = standing;
            if (targets == 1 && *shown >= 0) {
                // The picture stands exactly where the window's definition puts its hole, the
                // client area below the menu bar being 337 x 387.
                const int offBy = bestOffset(screen, standing, samples[std::size_t(*shown)]).first;
                check(offBy == 0,
                      "the first target stands exactly in its hole: the client area below the "
                      "menu bar is 337 x 387");
            }
            save(screen,
                 shots + (targets < 10 ? L"\\3-wave-0" : L"\\3-wave-") + std::to_wstring(targets)
                     + L".ppm");
            char line[160];
            std::snprintf(line, sizeof line,
                          "target %d, %.2f s into the wave, in hole %d shows pix\\pic%d.jpg "
                          "(mean difference %.2f of 255)",
                          targets, std::chrono::duration<double>(Clock::now() - waveStart).count(),
                          standing + 1, *shown,
                          *shown >= 0 ? distance(part(screen, holeRect(standing)),
                                                 samples[std::size_t(*shown)])
                                      : 255.0);
            check(*shown >= 0, line);
            if (!whole)
                break;
            if (targets == 3 && !shotFired) {
                game.click({(holeRect(standing).left + holeRect(standing).right) / 2,
                            (holeRect(standing).top + holeRect(standing).bottom) / 2});
                shotFired = true;
            }
        }
        pause(20ms);
    }
    if (whole) {
        check(targets == ticksPerWave,
              "the wave showed " + std::to_string(targets) + " targets, each in another hole");
        check(fireballSeen, "the shot at target 3 was seen as a fireball");
        const Picture after = game.shot();
        save(after, shots + L"\\5-after.ppm");
        check(hasInk(part(after, precisionValue)), "the precision shows after the wave");
    }

    game.click(exitButton);
    check(WaitForSingleObject(game.process.hProcess, 10000) == WAIT_OBJECT_0,
          "the Exit button ends the process");
    DWORD exitCode = 1;
    GetExitCodeProcess(game.process.hProcess, &exitCode);
    check(exitCode == 0, "with exit code 0");
    CloseHandle(game.process.hThread);
    CloseHandle(game.process.hProcess);
    CoUninitialize();
    return 0;
}
