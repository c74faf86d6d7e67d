// CSV throughput of the batch road: a generated detailed list with two break
// levels, its default CSV format delivered in a job file, the program run as
// a child process. Reports records and megabytes per second, the child's peak
// memory, and a plain copy of as many bytes in the same run for comparison.
//
//   build/bin/bench-csv [RECORDS] [FOLDER]     (defaults: 10000000, /tmp)
#include "app/DataModulesUnit.h"
#include "app/OpenListUnit.h"
#include "formats/ListFormatModuleUnit.h"
#include "platform/FileUnit.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point since) { return std::chrono::duration<double>(TClock::now() - since).count(); }

struct TChild {
    int Status = -1;
    double Seconds = 0;
    long PeakKilobytes = 0;
};

TChild RunChild(const std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    for (const std::string &a : arguments) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = TClock::now();
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    TChild child;
    rusage usage{};
    if (wait4(pid, &child.Status, 0, &usage) != pid) throw std::runtime_error("wait4 failed");
    child.Seconds = Seconds(start);
    child.PeakKilobytes = usage.ru_maxrss;
    return child;
}

// The same number of bytes read and written through 1 MB buffers.
double PlainCopySeconds(const std::string &from, const std::string &to)
{
    const auto start = TClock::now();
    std::FILE *in = std::fopen(from.c_str(), "rb");
    std::FILE *out = std::fopen(to.c_str(), "wb");
    if (!in || !out) throw std::runtime_error("cannot copy " + from);
    std::vector<char> buffer(1 << 20);
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;)
        if (std::fwrite(buffer.data(), 1, n, out) != n) throw std::runtime_error("copy failed");
    std::fclose(in);
    if (std::fflush(out) != 0 || fsync(fileno(out)) != 0) throw std::runtime_error("copy failed");
    std::fclose(out);
    return Seconds(start);
}

std::string DefaultCsvFormat(const std::string &listPath)
{
    app::TDataModules modules;
    app::TOpenList list(modules);
    list.OpenListFile(listPath);
    modules.ListFormat.SetFormatType("csv");
    modules.ListFormat.ResetLevel();
    modules.ListFormat.BuildDefaultFormat(0);
    return platform::ElementXml(modules.ListFormat.Root());
}

}  // namespace

int main(int argc, char *argv[])
{
    try {
        const long records = argc > 1 ? std::atol(argv[1]) : 10000000L;
        const std::string folder = platform::IncludeTrailingSlash(argc > 2 ? argv[2] : "/tmp");
        const std::string bin = platform::ProgramFolder();
        const std::string listPath = folder + "bench-csv.TarvilexList";
        const std::string jobPath = folder + "bench-csv-job.XML";
        const std::string csvPath = folder + "bench-csv.csv";
        const std::string copyPath = folder + "bench-csv-copy.csv";

        std::printf("generating %ld detailed records with two break levels ...\n", records);
        const TChild generated = RunChild({bin + "tarvilex-listwriter", "--detailed", std::to_string(records),
                                           listPath, "--levels", "2"});
        if (generated.Status != 0) throw std::runtime_error("tarvilex-listwriter failed");

        {
            std::ofstream job(jobPath, std::ios::binary);
            job << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                << "<generatepdfcsvexcel outerposting=\"true\" filename=\"" << listPath << "\">"
                << "<outerposting><formats><f formatfilename=\"bench\">" << DefaultCsvFormat(listPath)
                << "</f></formats></outerposting>"
                << "<generate type=\"csv\" format=\"bench\" filename=\"" << csvPath << "\"/>"
                << "</generatepdfcsvexcel>";
        }
        // BENCH_WRAPPER runs the program under a tool, e.g. "/usr/bin/valgrind --tool=callgrind".
        std::vector<std::string> command;
        if (const char *wrapper = std::getenv("BENCH_WRAPPER"))
            for (std::size_t start = 0, end; start < std::strlen(wrapper); start = end + 1) {
                end = std::string_view(wrapper).find(' ', start);
                if (end == std::string_view::npos) end = std::strlen(wrapper);
                if (end > start) command.emplace_back(wrapper + start, end - start);
            }
        command.push_back(bin + "TarvilexViewer");
        command.push_back(jobPath);
        const TChild run = RunChild(command);
        if (!WIFEXITED(run.Status) || WEXITSTATUS(run.Status) != 0) throw std::runtime_error("the job failed");

        std::ifstream csv(csvPath, std::ios::binary | std::ios::ate);
        const double megabytes = double(csv.tellg()) / 1e6;
        const double copy = PlainCopySeconds(csvPath, copyPath);
        std::printf("records            %ld\n", records);
        std::printf("CSV output         %.1f MB\n", megabytes);
        std::printf("job wall time      %.2f s\n", run.Seconds);
        std::printf("records per second %.0f\n", double(records) / run.Seconds);
        std::printf("output MB/s        %.1f\n", megabytes / run.Seconds);
        std::printf("peak memory        %.1f MB\n", double(run.PeakKilobytes) / 1024.0);
        std::printf("plain copy         %.2f s (%.1f MB/s); job / copy %.2f\n", copy, megabytes / copy,
                    run.Seconds / copy);
        if (!std::getenv("BENCH_KEEP"))
            for (const std::string &path : {listPath, csvPath, copyPath}) std::remove(path.c_str());
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench-csv: %s\n", e.what());
        return 1;
    }
}
