// bench-open: writes detailed lists of growing size, opens each in the main
// window on the offscreen platform and times the open with the first screen
// and jumps to the middle and the end. Every size runs in a fresh child
// process so that its peak memory is its own.
#include "app/DataModulesUnit.h"
#include "app/ListViewUnit.h"
#include "platform/FileUnit.h"
#include "tools/SampleListUnit.h"

#include <QAction>
#include <QApplication>
#include <QLabel>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double Milliseconds(TClock::time_point since)
{
    return std::chrono::duration<double, std::milli>(TClock::now() - since).count();
}

long PeakKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

// The child: one list, one window.
int MeasureOne(const std::string &path, int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    app::TDataModules modules;
    app::TListViewForm form(modules);
    form.QuietMessages = true;
    form.resize(1280, 900);
    form.show();
    QApplication::processEvents();

    auto start = TClock::now();
    if (!form.OpenListFile(path)) {
        std::fprintf(stderr, "bench-open: %s\n", form.LastError().c_str());
        return 1;
    }
    (void)form.DrawGrid1->viewport()->grab();
    const double open = Milliseconds(start);

    const int rows = form.DrawGrid1->RowCount() - 1;
    double jumps[2] = {};
    const int targets[2] = {rows / 2, rows};
    for (int i = 0; i < 2; ++i) {
        start = TClock::now();
        form.DrawGrid1->SetRow(targets[i]);
        (void)form.DrawGrid1->viewport()->grab();
        jumps[i] = Milliseconds(start);
    }
    std::printf("%12d  %10.1f  %10.1f  %10.1f  %10ld  %s\n", form.List().Header.RecordCount, open, jumps[0], jumps[1],
                PeakKilobytes(), form.StatusBar2Panels[0]->text().toStdString().c_str());
    return 0;
}

// A picture of the main window with the list, at full depth or summarized once.
int Screenshot(const std::string &path, const std::string &picture, bool summarize, int argc, char **argv)
{
    QApplication application(argc, argv);
    app::TDataModules modules;
    app::TListViewForm form(modules);
    form.QuietMessages = true;
    form.resize(1200, 720);
    form.show();
    if (!form.OpenListFile(path)) return 1;
    if (summarize) {
        form.SummMenu->trigger();
        // The stored widths are those of the full depth; let the columns fit.
        form.SetColumnWidthMenu->trigger();
    }
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    return form.grab().save(QString::fromStdString(picture)) ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--one") return MeasureOne(argv[2], argc, argv);
    // bench-open --shot LIST PICTURE.png [--summarize]
    if (argc >= 4 && std::string(argv[1]) == "--shot")
        return Screenshot(argv[2], argv[3], argc > 4 && std::string(argv[4]) == "--summarize", argc, argv);

    // bench-open [FOLDER]: lists are written to FOLDER (default /tmp) and removed.
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    struct TSize { int Count; int Levels; bool Sparse; };
    // No levels, so that the grid shows every record and the jumps cross the
    // whole record area; the largest record area is a sparse file.
    const TSize sizes[] = {{1'000'000, 0, false}, {10'000'000, 0, false}, {100'000'000, 0, true}};
    std::printf("%12s  %10s  %10s  %10s  %10s  %s\n", "records", "open+1st ms", "middle ms", "end ms", "VmHWM kB",
                "status");
    std::fflush(stdout);
    for (const TSize &size : sizes) {
        const std::string path = folder + "/bench-" + std::to_string(size.Count) + ".TarvilexList";
        const auto start = TClock::now();
        tools::WriteGeneratedDetailedList(size.Count, size.Levels, size.Sparse, path, platform::ProgramFolder());
        std::fprintf(stderr, "written %s in %.1f s\n", path.c_str(), Milliseconds(start) / 1000);
        const pid_t child = fork();
        if (child == 0) {
            execl("/proc/self/exe", argv[0], "--one", path.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        std::filesystem::remove(path);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
        std::fflush(stdout);
    }
    return 0;
}
