#include "harness.hpp"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <png.h>
#include <sstream>
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

ProgramRun run_program(const std::string &path, const std::string &input)
{
    RunOptions options;
    options.input = input;
    return run_program(path, options);
}

ProgramRun run_program(const std::string &path, const RunOptions &options)
{
    ProgramRun run;
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) {
        run.err = "pipe failed";
        return run;
    }
    std::vector<std::string> env_strings;
    for (char **e = environ; *e; e++)
        env_strings.push_back(*e);
    for (const std::string &e : options.env)
        env_strings.push_back(e);
    std::vector<char *> envp, argv;
    for (std::string &e : env_strings)
        envp.push_back(&e[0]);
    envp.push_back(nullptr);
    std::vector<std::string> args{path};
    args.insert(args.end(), options.args.begin(), options.args.end());
    for (std::string &a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        if (options.stdout_path) {
            int fd = open(options.stdout_path, O_WRONLY);
            dup2(fd, 1);
        } else {
            dup2(out[1], 1);
        }
        dup2(err[1], 2);
        // The pipes' own descriptors, unless one of them already is 0, 1 or 2
        // (when the test itself was started with a standard stream closed).
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            if (fd > 2)
                close(fd);
        if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0)
            _exit(126);
        execve(path.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);

    // Feed the input and read both outputs as they come, so that no pipe fills.
    signal(SIGPIPE, SIG_IGN);
    size_t fed = 0;
    if (options.input.empty()) {
        close(in[1]);
        in[1] = -1;
    }
    double deadline = now_seconds() + options.timeout_seconds;
    bool out_open = true, err_open = true;
    char buffer[65536];
    while (out_open || err_open) {
        pollfd fds[3];
        int n = 0;
        if (out_open)
            fds[n++] = {out[0], POLLIN, 0};
        if (err_open)
            fds[n++] = {err[0], POLLIN, 0};
        if (in[1] >= 0)
            fds[n++] = {in[1], POLLOUT, 0};
        int left = static_cast<int>((deadline - now_seconds()) * 1000);
        if (left <= 0 || poll(fds, n, left) == 0) {
            run.timed_out = true;
            kill(pid, SIGKILL);
            break;
        }
        for (int i = 0; i < n; i++) {
            if (!fds[i].revents)
                continue;
            if (fds[i].fd == in[1]) {
                ssize_t w = write(in[1], options.input.data() + fed, options.input.size() - fed);
                if (w > 0)
                    fed += w;
                if (w < 0 || fed == options.input.size()) {
                    close(in[1]);
                    in[1] = -1;
                }
                continue;
            }
            ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got <= 0) {
                (fds[i].fd == out[0] ? out_open : err_open) = false;
                continue;
            }
            (fds[i].fd == out[0] ? run.out : run.err).append(buffer, got);
        }
    }
    if (in[1] >= 0)
        close(in[1]);
    close(out[0]);
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
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

bool prime_by_trial_division(long n)
{
    if (n < 2)
        return false;
    for (long d = 2; d * d <= n; d++)
        if (n % d == 0)
            return false;
    return true;
}

__extension__ typedef unsigned __int128 uint128;

uint64_t power_reference(uint64_t b, uint64_t e, uint64_t m)
{
    uint128 r = 1 % m;
    for (int bit = 63; bit >= 0; bit--) {
        r = r * r % m;
        if (e >> bit & 1)
            r = r * b % m;
    }
    return static_cast<uint64_t>(r);
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
