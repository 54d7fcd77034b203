#include "PrivateDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace
{
// Starts a program whose output is discarded and which gets SIGTERM when this
// process dies. displayFd, when not -1, is kept open in the child as fd 3.
pid_t spawnQuiet(std::vector<std::string> args, int displayFd)
{
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(1);
    const int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, STDIN_FILENO);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    if (displayFd == 3)
        fcntl(3, F_SETFD, 0);
    else if (displayFd >= 0)
        dup2(displayFd, 3); // the copy does not close on exec
    execvp(argv[0], argv.data());
    _exit(127);
}

// SIGTERM, and SIGKILL if the program has not gone after two seconds: a
// server stuck in its shutdown must not hold up the end of the tests.
void endProcess(pid_t& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i)
    {
        const pid_t done = waitpid(pid, nullptr, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR))
        {
            pid = 0;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR)
    {
    }
    pid = 0;
}

// Reads the line Xvfb writes once it listens; empty when it gave up.
std::string readDisplayNumber(int fd)
{
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline)
    {
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0)
            continue;
        char c;
        const ssize_t n = read(fd, &c, 1);
        if (n <= 0)
            return "";
        if (c == '\n')
            return text;
        text += c;
    }
    return "";
}

bool windowManagerRuns(Display* display)
{
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None)
        return false;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                          &format, &count, &after, &data);
    const bool found = status == Success && data && count == 1;
    if (data)
        XFree(data);
    return found;
}
} // namespace

PrivateDisplay::~PrivateDisplay()
{
    stop();
}

bool PrivateDisplay::start(std::string& error)
{
    owner = getpid();
    int first = -1, last = -1;
    if (const char* range = std::getenv("KIRUPO_TEST_DISPLAYS"))
    {
        if (std::sscanf(range, "%d-%d", &first, &last) != 2 || first < 0 || last < first)
        {
            error = "KIRUPO_TEST_DISPLAYS must read FIRST-LAST, e.g. 120-129";
            return false;
        }
    }
    bool started = false;
    if (first < 0)
        started = startServer(-1, error);
    for (int n = first; first >= 0 && n <= last && !started; ++n)
        started = startServer(n, error);
    if (!started)
        return false;
    setenv("DISPLAY", displayName.c_str(), 1);
    if (!startWindowManager(error))
    {
        stop();
        return false;
    }
    return true;
}

bool PrivateDisplay::startServer(int displayNumber, std::string& error)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
    {
        error = "cannot make a pipe for Xvfb";
        return false;
    }
    std::vector<std::string> args = {"Xvfb"};
    if (displayNumber >= 0)
        args.push_back(":" + std::to_string(displayNumber));
    args.insert(args.end(), {"-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"});
    server = spawnQuiet(args, fds[1]);
    close(fds[1]);
    const std::string number = readDisplayNumber(fds[0]);
    close(fds[0]);
    if (server < 0 || number.empty())
    {
        endProcess(server);
        error = displayNumber >= 0 ? "Xvfb could not start on any display of KIRUPO_TEST_DISPLAYS"
                                   : "Xvfb could not start (is the xvfb package installed?)";
        return false;
    }
    displayName = ":" + number;
    return true;
}

bool PrivateDisplay::startWindowManager(std::string& error)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (!display)
    {
        error = "cannot connect to the private display " + displayName;
        return false;
    }
    windowManager = spawnQuiet({"matchbox-window-manager", "-use_titlebar", "no"}, -1);
    bool ready = false;
    for (int i = 0; i < 100 && !ready; ++i)
    {
        ready = windowManagerRuns(display);
        if (!ready)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    XCloseDisplay(display);
    if (!ready)
        error = "matchbox-window-manager did not start on " + displayName;
    return ready;
}

void PrivateDisplay::stop()
{
    // A forked child (a death test) shares these ids but does not own the servers.
    if (owner != getpid())
        return;
    endProcess(windowManager);
    endProcess(server);
}
