// gallery.cpp: ./demo gallery DIR. The capture variants draw every stage that
// their program holds for a key and save it as a PNG, with its caption; they
// run in a scratch folder inside DIR, and the pictures are moved into DIR only
// when every program has saved its own and none would land on a folder.
#include "launcher.hpp"
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

// A fresh folder DIR/.demo-gallery.XXXXXX, or "" (errno says why).
static std::string scratch_folder(const std::string &dir)
{
    std::string path = dir + "/.demo-gallery.XXXXXX";
    return mkdtemp(&path[0]) ? path : "";
}

std::string gallery_folder(const std::string &dir, Gallery &gallery)
{
    std::error_code error;
    fs::create_directories(dir, error);
    if (error)
        return "demo: cannot make the folder " + dir + ": " + error.message() + "\n";
    std::string scratch = scratch_folder(dir);
    if (scratch.empty())
        return "demo: cannot write the gallery into " + dir + ": " + std::strerror(errno) + "\n";
    rmdir(scratch.c_str());
    gallery.dir = fs::canonical(dir, error).string();
    return "";
}

std::string destination_in_the_way(const std::string &dir, const std::vector<std::string> &files)
{
    // A rename replaces a file, but not a folder.
    for (const std::string &file : files) {
        struct stat info;
        if (lstat((dir + "/" + file).c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return dir + "/" + file;
    }
    return "";
}

// Set by a signal that ends the gallery (Ctrl-C, a hang-up, kill), so that
// the runs are stopped and the scratch folder removed before demo ends.
static volatile sig_atomic_t stopped_by = 0;
static void note_signal(int sig)
{
    stopped_by = sig;
}

// One capture variant, started in the scratch folder with its output thrown
// away (the captions come through SUITE_CAPTURE_CAPTIONS); its pid, or -1.
static pid_t start_capture(const Gallery &gallery, const std::string &scratch, const std::string &name)
{
    std::string path = gallery.build + "/bin/capture/" + name;
    std::string captions = scratch + "/" + name + ".captions";
    std::vector<std::string> words{path};
    words.insert(words.end(), gallery.args.begin(), gallery.args.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    int null = open("/dev/null", O_WRONLY);
    if (chdir(scratch.c_str()) != 0 || null < 0 || dup2(null, 1) < 0 ||
        setenv("SUITE_CAPTURE_CAPTIONS", captions.c_str(), 1) != 0)
        _exit(126);
    execv(path.c_str(), argv.data());
    std::fprintf(stderr, "demo: cannot run %s: %s\n", path.c_str(), std::strerror(errno));
    _exit(127);
}

static std::string how_it_ended(int status)
{
    if (WIFSIGNALED(status))
        return "killed by signal " + std::to_string(WTERMSIG(status));
    return "exit status " + std::to_string(WEXITSTATUS(status));
}

// Runs every picture program's capture, `processors` at a time; "" when all
// ended well, else what went wrong first.
static std::string run_captures(const Gallery &gallery, const std::string &scratch,
                                const std::vector<std::string> &names)
{
    std::map<pid_t, std::string> running;
    std::string failure;
    size_t next = 0;
    const size_t at_a_time = static_cast<size_t>(std::max(1, gallery.processors));
    for (;;) {
        bool more = next < names.size() && failure.empty() && !stopped_by;
        if (more && running.size() < at_a_time) {
            pid_t pid = start_capture(gallery, scratch, names[next]);
            if (pid < 0)
                failure = "cannot start " + names[next] + ": " + std::strerror(errno);
            else
                running[pid] = names[next];
            next++;
            continue;
        }
        if (running.empty())
            break;
        int status;
        pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0) {
            if (errno != EINTR)
                break;
            for (const auto &run : running)
                kill(run.first, SIGTERM);
            continue;
        }
        auto run = running.find(pid);
        if (run == running.end())
            continue;
        if ((!WIFEXITED(status) || WEXITSTATUS(status) != 0) && failure.empty())
            failure = run->second + " failed (" + how_it_ended(status) + ")";
        running.erase(run);
    }
    return failure;
}

// The gallery proper, once the scratch folder exists.
static int make_gallery(const Registry &registry, const Gallery &gallery, const std::string &scratch,
                        std::ostream &out, std::ostream &err)
{
    std::vector<std::string> names;
    for (const CatalogueEntry &program : registry.programs)
        if (std::string(program.kind) == "picture")
            names.push_back(program.name);
    // The labelled spiral opens its font from its working folder.
    if (symlink((gallery.build + "/bin/times.ttf").c_str(), (scratch + "/times.ttf").c_str()) != 0) {
        err << "demo: cannot link the font into " << scratch << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    std::string failure = run_captures(gallery, scratch, names);
    if (stopped_by)
        return 128 + stopped_by;
    if (!failure.empty()) {
        err << "demo: " << failure << "\n";
        return 1;
    }

    // Each capture lists the pictures it saved, a line each: the file, a
    // tab, the caption of the stage it holds.
    std::vector<std::string> files, lines;
    for (const std::string &name : names) {
        std::ifstream captions(scratch + "/" + name + ".captions");
        size_t saved = files.size();
        for (std::string line; std::getline(captions, line);) {
            size_t tab = line.find('\t');
            std::string file = line.substr(0, tab);
            struct stat info;
            if (tab == std::string::npos || file.find('/') != std::string::npos ||
                stat((scratch + "/" + file).c_str(), &info) != 0) {
                err << "demo: " << name << " did not save " << file << "\n";
                return 1;
            }
            files.push_back(file);
            lines.push_back(gallery.dir + "/" + file + "  (" + line.substr(tab + 1) + ")");
        }
        if (files.size() == saved) {
            err << "demo: " << name << " saved no picture\n";
            return 1;
        }
    }
    std::string in_the_way = destination_in_the_way(gallery.dir, files);
    if (!in_the_way.empty()) {
        err << "demo: " << in_the_way << " is a folder, where a picture goes; nothing was moved\n";
        return 1;
    }
    for (const std::string &file : files)
        if (std::rename((scratch + "/" + file).c_str(), (gallery.dir + "/" + file).c_str()) != 0) {
            err << "demo: cannot move " << file << " into " << gallery.dir << ": " << std::strerror(errno)
                << "\n";
            return 1;
        }
    for (const std::string &line : lines)
        out << line << "\n";
    return 0;
}

int run_gallery(const Registry &registry, const Gallery &gallery, std::ostream &out, std::ostream &err)
{
    std::string scratch = scratch_folder(gallery.dir);
    if (scratch.empty()) {
        err << "demo: cannot write the gallery into " << gallery.dir << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    struct sigaction catch_it = {}, saved[3];
    catch_it.sa_handler = note_signal;
    const int signals[3] = {SIGINT, SIGTERM, SIGHUP};
    stopped_by = 0;
    for (int k = 0; k < 3; k++)
        sigaction(signals[k], &catch_it, &saved[k]);
    int status = make_gallery(registry, gallery, scratch, out, err);
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    for (int k = 0; k < 3; k++)
        sigaction(signals[k], &saved[k], nullptr);
    return status;
}
