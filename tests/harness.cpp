#include "harness.hpp"
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <png.h>
#include <pty.h>
#include <regex>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

static double now_seconds()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// What a child execs: the path, its arguments, and the test's environment
// less the names that `changes` removes or sets anew, plus those it sets.
// Everything is prepared before the fork.
struct Command {
    std::vector<std::string> arg_strings, env_strings;
    std::vector<char *> argv, envp;

    Command(const std::string &path, const std::vector<std::string> &args, const std::vector<std::string> &changes)
    {
        arg_strings.push_back(path);
        arg_strings.insert(arg_strings.end(), args.begin(), args.end());
        for (char **e = environ; *e; e++) {
            std::string entry = *e;
            std::string name = entry.substr(0, entry.find('='));
            bool changed = false;
            for (const std::string &c : changes)
                changed = changed || c.substr(0, c.find('=')) == name;
            if (!changed)
                env_strings.push_back(entry);
        }
        for (const std::string &c : changes)
            if (c.find('=') != std::string::npos)
                env_strings.push_back(c);
        for (std::string &a : arg_strings)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        for (std::string &e : env_strings)
            envp.push_back(&e[0]);
        envp.push_back(nullptr);
    }
    [[noreturn]] void exec() const
    {
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
};

// In a child about to start a program: the signals as a login shell leaves
// them to its jobs, default and unblocked.
static void default_signals(bool ignore_interrupt)
{
    for (int sig : {SIGINT, SIGQUIT, SIGTSTP, SIGTTIN, SIGTTOU, SIGPIPE, SIGCHLD, SIGHUP, SIGTERM})
        signal(sig, SIG_DFL);
    if (ignore_interrupt)
        signal(SIGINT, SIG_IGN);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

static int status_code(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The milliseconds left until `deadline`, at least 0.
static int milliseconds_until(double deadline)
{
    double left = deadline - now_seconds();
    return left > 0 ? static_cast<int>(left * 1000) + 1 : 0;
}

Process::Process(const std::string &path, const RunOptions &options)
{
    Command command(path, options.args, options.env);
    auto closed = [&](int fd) {
        return std::find(options.closed.begin(), options.closed.end(), fd) != options.closed.end();
    };
    int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) {
        ADD_FAILURE() << "pipe failed: " << strerror(errno);
        return;
    }
    // Descriptors of this side are not inherited by later children.
    for (int fd : {in[1], out[0], err[0]})
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    int file = options.stdout_path ? open(options.stdout_path, O_WRONLY | O_CLOEXEC) : -1;

    child = fork();
    if (child == 0) {
        default_signals(false);
        dup2(in[0], 0);
        dup2(file >= 0 ? file : out[1], 1);
        dup2(options.merge_error ? out[1] : err[1], 2);
        // The pipes' own descriptors, unless one of them already is 0, 1 or 2
        // (when the test itself was started with a standard stream closed).
        for (int fd : {in[0], out[1], err[1]})
            if (fd > 2)
                close(fd);
        for (int fd : options.closed)
            close(fd);
        if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0)
            _exit(126);
        command.exec();
    }
    for (int fd : {in[0], out[1], err[1], file})
        if (fd >= 0)
            close(fd);
    input = in[1];
    output = out[0];
    error = err[0];
    if (closed(1) && output >= 0) {
        close(output);
        output = -1;
    }
    if (closed(2) && error >= 0) {
        close(error);
        error = -1;
    }
    // A program that stops reading does not stop the test with SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
    pending = options.input;
    if (!options.keep_input_open && pending.empty())
        close_input();
    keep_input = options.keep_input_open;
}

Process::~Process()
{
    if (child > 0 && status < 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    for (int fd : {input, output, error})
        if (fd >= 0)
            close(fd);
}

void Process::write_input(const std::string &text)
{
    pending += text;
    while (!pending.empty() && input >= 0 && pump(now_seconds() + 10)) {
    }
}

void Process::close_input()
{
    if (input >= 0)
        close(input);
    input = -1;
    pending.clear();
}

void Process::signal(int sig)
{
    if (child > 0 && status < 0)
        kill(child, sig);
}

// One round: the pending input written, and whatever output is ready read.
// False when nothing happened before the deadline, or nothing is left open.
bool Process::pump(double deadline)
{
    pollfd fds[3];
    int n = 0;
    if (output >= 0)
        fds[n++] = {output, POLLIN, 0};
    if (error >= 0)
        fds[n++] = {error, POLLIN, 0};
    if (input >= 0 && !pending.empty())
        fds[n++] = {input, POLLOUT, 0};
    if (n == 0 || poll(fds, n, milliseconds_until(deadline)) <= 0)
        return false;
    for (int i = 0; i < n; i++) {
        if (!fds[i].revents)
            continue;
        if (fds[i].fd == input) {
            ssize_t w = write(input, pending.data(), pending.size());
            if (w > 0)
                pending.erase(0, w);
            if (w < 0 || (pending.empty() && !keep_input))
                close_input();
            continue;
        }
        bool is_output = fds[i].fd == output;
        char buffer[65536];
        ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
        if (got > 0) {
            (is_output ? out : err).append(buffer, got);
        } else {
            close(fds[i].fd);
            (is_output ? output : error) = -1;
        }
    }
    return true;
}

bool Process::wait_for(const std::string &text, double seconds)
{
    double deadline = now_seconds() + seconds;
    while (out.find(text) == std::string::npos)
        if (!pump(deadline))
            return false;
    return true;
}

int Process::wait_end(double seconds)
{
    double deadline = now_seconds() + seconds;
    while (status < 0) {
        int raw;
        if (child <= 0)
            return -1;
        if (waitpid(child, &raw, WNOHANG) == child) {
            status = status_code(raw);
            break;
        }
        if (now_seconds() >= deadline)
            return -1;
        // The output closes as the program ends; once both pipes are shut,
        // the end itself is a moment away.
        if (!pump(std::min(deadline, now_seconds() + 0.01)) && output < 0 && error < 0)
            usleep(1000);
    }
    // What the program wrote before it ended.
    while ((output >= 0 || error >= 0) && pump(now_seconds())) {
    }
    return status;
}

ProgramRun run_program(const std::string &path, const std::string &input)
{
    RunOptions options;
    options.input = input;
    return run_program(path, options);
}

ProgramRun run_program(const std::string &path, const RunOptions &options)
{
    ProgramRun run;
    Process process(path, options);
    run.status = process.wait_end(options.timeout_seconds);
    if (run.status < 0) {
        run.timed_out = true;
        process.signal(SIGKILL);
        process.wait_end(10);
    }
    run.out = process.out;
    run.err = process.err;
    return run;
}

ProgramRun run_to_end(const std::string &path, const std::string &input,
                      const std::vector<std::string> &args)
{
    RunOptions options;
    options.input = input;
    options.args = args;
    options.timeout_seconds = 30;
    ProgramRun run = run_program(path, options);
    EXPECT_FALSE(run.timed_out) << path << " did not end";
    EXPECT_EQ(0, run.status) << path << ":\n" << run.err;
    EXPECT_EQ("", run.err) << path;
    return run;
}

PseudoTerminal::PseudoTerminal(const std::string &path, const TerminalOptions &options)
{
    winsize size = {};
    size.ws_row = 24;
    size.ws_col = 80;
    if (openpty(&master, &slave, nullptr, nullptr, &size) != 0) {
        ADD_FAILURE() << "openpty failed: " << strerror(errno);
        return;
    }
    if (!options.echo) {
        termios mode;
        tcgetattr(slave, &mode);
        mode.c_lflag &= ~(ECHO | ECHONL);
        mode.c_oflag &= ~ONLCR;
        tcsetattr(slave, TCSANOW, &mode);
    }
    Command command(path, options.args, options.env);
    int to_shell[2] = {-1, -1}, from_shell[2] = {-1, -1};
    if (options.job_control && (pipe(to_shell) != 0 || pipe(from_shell) != 0)) {
        ADD_FAILURE() << "pipe failed";
        return;
    }

    pid = fork();
    if (pid < 0) {
        ADD_FAILURE() << "fork failed: " << strerror(errno);
        return;
    }
    if (pid > 0) {
        if (options.job_control) {
            close(to_shell[0]);
            close(from_shell[1]);
            control = to_shell[1];
            report = from_shell[0];
            // The shell says which process group the program has.
            pollfd fd = {report, POLLIN, 0};
            if (poll(&fd, 1, 10000) <= 0 || read(report, &job, sizeof job) != sizeof job)
                ADD_FAILURE() << "the shell did not start the program";
        }
        return;
    }

    // The child: leader of a new session whose controlling terminal is the
    // pseudo-terminal.
    setsid();
    ioctl(slave, TIOCSCTTY, 0);
    close(master);
    if (!options.job_control) {
        for (int fd = 0; fd <= 2; fd++)
            dup2(slave, fd);
        if (slave > 2)
            close(slave);
        default_signals(options.ignore_interrupt);
        command.exec();
    }

    // With job control the child is a small shell: it starts the program in
    // a process group of its own in the foreground, and when the program
    // stops it reports the terminal's settings, takes the terminal back with
    // its own settings, and waits for the word to continue the program.
    close(to_shell[1]);
    close(from_shell[0]);
    for (int sig : {SIGTTOU, SIGTTIN, SIGTSTP, SIGINT, SIGQUIT})
        signal(sig, SIG_IGN);
    termios shell_mode;
    tcgetattr(slave, &shell_mode);
    pid_t program = fork();
    if (program == 0) {
        setpgid(0, 0);
        tcsetpgrp(slave, getpid());
        for (int fd = 0; fd <= 2; fd++)
            dup2(slave, fd);
        if (slave > 2)
            close(slave);
        close(to_shell[0]);
        close(from_shell[1]);
        default_signals(options.ignore_interrupt);
        command.exec();
    }
    setpgid(program, program);
    tcsetpgrp(slave, program);
    if (write(from_shell[1], &program, sizeof program) != sizeof program)
        _exit(125);
    for (;;) {
        int status;
        if (waitpid(program, &status, WUNTRACED) != program)
            _exit(125);
        if (!WIFSTOPPED(status))
            _exit(status_code(status));
        termios at_stop;
        tcgetattr(slave, &at_stop);
        tcsetpgrp(slave, getpgrp());
        tcsetattr(slave, TCSANOW, &shell_mode);
        if (write(from_shell[1], &at_stop, sizeof at_stop) != sizeof at_stop)
            _exit(125);
        char word;
        if (read(to_shell[0], &word, 1) != 1)
            _exit(125);
        tcsetpgrp(slave, program);
        kill(-program, SIGCONT);
    }
}

PseudoTerminal::~PseudoTerminal()
{
    if (job > 0)
        kill(-job, SIGKILL);
    if (pid > 0) {
        kill(-pid, SIGKILL); // the session leader's process group
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    for (int fd : {master, slave, control, report})
        if (fd >= 0)
            close(fd);
}

void PseudoTerminal::type(const std::string &keys)
{
    if (write(master, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size()))
        ADD_FAILURE() << "cannot type " << keys;
}

bool PseudoTerminal::read_some(double deadline)
{
    if (master < 0)
        return false;
    int left = static_cast<int>((deadline - now_seconds()) * 1000);
    pollfd fd = {master, POLLIN, 0};
    if (left <= 0 || poll(&fd, 1, left) <= 0)
        return false;
    char buffer[4096];
    ssize_t got = read(master, buffer, sizeof buffer);
    if (got <= 0)
        return false;
    output.append(buffer, got);
    return true;
}

std::string PseudoTerminal::wait_for(const std::string &text, double seconds)
{
    double deadline = now_seconds() + seconds;
    size_t at;
    while ((at = output.find(text, cursor)) == std::string::npos) {
        if (!read_some(deadline)) {
            ADD_FAILURE() << "no \"" << text << "\" on the terminal; after the last step it shows:\n"
                          << output.substr(cursor);
            return "";
        }
    }
    std::string seen = output.substr(cursor, at + text.size() - cursor);
    cursor = at + text.size();
    return seen;
}

std::string PseudoTerminal::read_for(double seconds)
{
    double deadline = now_seconds() + seconds;
    while (now_seconds() < deadline)
        read_some(deadline);
    std::string seen = output.substr(cursor);
    cursor = output.size();
    return seen;
}

termios PseudoTerminal::settings() const
{
    termios now = {};
    if (slave < 0 || tcgetattr(slave, &now) != 0)
        ADD_FAILURE() << "cannot read the terminal's settings";
    return now;
}

bool PseudoTerminal::wait_for_key_mode(double seconds)
{
    double deadline = now_seconds() + seconds;
    do {
        termios now;
        if (tcgetattr(slave, &now) == 0 && !(now.c_lflag & ICANON))
            return true;
        read_some(now_seconds() + 0.01);
    } while (now_seconds() < deadline);
    return false;
}

int PseudoTerminal::wait_end(double seconds)
{
    double deadline = now_seconds() + seconds;
    for (;;) {
        int status;
        if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            job = -1;
            while (read_some(now_seconds() + 0.05)) {
            }
            return status_code(status);
        }
        if (pid <= 0 || now_seconds() > deadline)
            return -1;
        read_some(now_seconds() + 0.01);
    }
}

bool PseudoTerminal::suspend(termios &at_stop, double seconds)
{
    if (report < 0) {
        ADD_FAILURE() << "suspend() needs job control";
        return false;
    }
    type("\x1a"); // Ctrl-Z
    pollfd fd = {report, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(seconds * 1000)) <= 0)
        return false;
    return read(report, &at_stop, sizeof at_stop) == sizeof at_stop;
}

void PseudoTerminal::resume()
{
    if (control < 0 || write(control, "c", 1) != 1)
        ADD_FAILURE() << "cannot resume the program";
}

static std::string visible(const std::string &line)
{
    std::string shown;
    for (unsigned char c : line) {
        if (c >= 32 && c < 127) {
            shown += static_cast<char>(c);
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            shown += hex;
        }
    }
    return shown;
}

::testing::AssertionResult transcripts_equal(const std::string &expected, const std::string &actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        at++;
    // The line (numbered from 1) that holds the first difference, in each text.
    auto line_around = [at](const std::string &text) {
        size_t start = text.rfind('\n', at == 0 ? 0 : at - 1);
        start = (start == std::string::npos || at == 0) ? 0 : start + 1;
        size_t end = text.find('\n', at);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (line.size() > 200) {
            size_t from = at - start > 100 ? at - start - 100 : 0;
            line = "..." + line.substr(from, 200) + "...";
        }
        return line;
    };
    long line_number = 1;
    for (size_t i = 0; i < at; i++)
        line_number += expected[i] == '\n';
    return ::testing::AssertionFailure()
           << "transcripts differ at byte " << at << " (line " << line_number << "; expected "
           << expected.size() << " bytes, got " << actual.size() << ")\n"
           << "  expected line " << line_number << ": \"" << visible(line_around(expected)) << "\"\n"
           << "  actual   line " << line_number << ": \"" << visible(line_around(actual)) << "\"";
}

long Picture::count(uint32_t colour) const
{
    long n = 0;
    for (uint32_t c : rgb)
        n += c == colour;
    return n;
}

Picture read_png(const std::string &path)
{
    Picture picture;
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        ADD_FAILURE() << "cannot read " << path << ": " << image.message;
        return picture;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
        ADD_FAILURE() << "cannot decode " << path << ": " << image.message;
        return picture;
    }
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb.assign(picture.width * picture.height, 0);
    for (size_t i = 0; i < picture.rgb.size(); i++)
        picture.rgb[i] = bytes[3 * i] << 16 | bytes[3 * i + 1] << 8 | bytes[3 * i + 2];
    return picture;
}

void write_png(const std::string &path, const Picture &picture)
{
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = picture.width;
    image.height = picture.height;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> bytes;
    for (uint32_t c : picture.rgb) {
        bytes.push_back(c >> 16 & 0xFF);
        bytes.push_back(c >> 8 & 0xFF);
        bytes.push_back(c & 0xFF);
    }
    png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr);
}

std::string make_temp_dir()
{
    const char *base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/suite-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        ADD_FAILURE() << "mkdtemp failed: " << strerror(errno);
        return "/tmp";
    }
    return buffer.data();
}

std::vector<Picture> capture_stages(const std::string &capture_path, const std::vector<std::string> &args,
                                    std::string *out)
{
    std::string dir = make_temp_dir();
    std::string font = std::string(SUITE_BIN_DIR) + "/times.ttf";
    if (symlink(font.c_str(), (dir + "/times.ttf").c_str()) != 0)
        ADD_FAILURE() << "cannot link the font into " << dir;
    RunOptions options;
    options.cwd = dir;
    options.args = args;
    ProgramRun run = run_program(capture_path, options);
    if (out)
        *out = run.out;
    EXPECT_EQ(0, run.status) << capture_path << " failed:\n" << run.err;
    EXPECT_FALSE(run.timed_out) << capture_path << " timed out";

    std::string name = capture_path.substr(capture_path.rfind('/') + 1);
    std::vector<Picture> stages;
    for (int k = 1;; k++) {
        std::string path = dir + "/" + name + "-" + std::to_string(k) + ".png";
        if (access(path.c_str(), F_OK) != 0)
            break;
        stages.push_back(read_png(path));
        unlink(path.c_str());
    }
    unlink((dir + "/times.ttf").c_str());
    rmdir(dir.c_str());
    return stages;
}

::testing::AssertionResult pictures_equal(const Picture &expected, const Picture &actual)
{
    if (expected.width != actual.width || expected.height != actual.height)
        return ::testing::AssertionFailure() << "sizes differ: expected " << expected.width << "x"
                                             << expected.height << ", got " << actual.width << "x"
                                             << actual.height;
    long differing = 0;
    int first = -1;
    for (size_t i = 0; i < expected.rgb.size(); i++)
        if (expected.rgb[i] != actual.rgb[i]) {
            if (first < 0)
                first = static_cast<int>(i);
            differing++;
        }
    if (differing == 0)
        return ::testing::AssertionSuccess();
    std::string dir = make_temp_dir();
    write_png(dir + "/expected.png", expected);
    write_png(dir + "/actual.png", actual);
    char colours[64];
    snprintf(colours, sizeof colours, "expected #%06X, got #%06X", expected.rgb[first], actual.rgb[first]);
    return ::testing::AssertionFailure()
           << differing << " pixels differ; the first at (" << first % expected.width << ", "
           << first / expected.width << "): " << colours << "; both pictures written to " << dir;
}

// A number stands alone: the digits of a name such as "u0" are not one.
static const std::regex whole_number("-?\\b[0-9]+");

JsonLines::JsonLines(const std::string &out)
{
    const std::string number = "-?[0-9]+", value = number + "|\"([^\"\\\\]|\\\\.)*\"|null|\\[(" + number +
                                                   "(, " + number + ")*)?\\]";
    const std::regex object("\\{\"[a-z0-9_]+\": (" + value + ")(, \"[a-z0-9_]+\": (" + value + "))*\\}");
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (bad_line.empty() && !std::regex_match(line, object))
            bad_line = line;
        for (std::sregex_iterator n(line.begin(), line.end(), whole_number); n != std::sregex_iterator(); ++n)
            numbers.insert(n->str());
        last = line;
    }
}

std::string JsonLines::field(const char *name) const
{
    std::smatch found;
    bool there = std::regex_search(last, found, std::regex("\"" + std::string(name) + "\": ([^,}]*)"));
    return there ? found[1].str() : "";
}

std::vector<std::string> text_lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> whole_numbers(const std::string &text)
{
    std::vector<std::string> found;
    for (std::sregex_iterator n(text.begin(), text.end(), whole_number); n != std::sregex_iterator(); ++n)
        found.push_back(n->str());
    return found;
}
