// tarvilex-listwriter: writes sample lists, lists from a description file and
// large generated lists for benchmarks.
#include "platform/FileUnit.h"
#include "tools/ListDescriptionUnit.h"
#include "tools/SampleListUnit.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char *Usage =
    "usage: tarvilex-listwriter [--data DIR] --sample detailed|summary|statistics|empty OUT\n"
    "       tarvilex-listwriter [--data DIR] --describe DESCRIPTION.xml OUT\n"
    "       tarvilex-listwriter [--data DIR] --detailed N OUT [--levels 0|1|2] [--sparse]\n"
    "DIR holds ListFields.XML and TarvilexData.XML (default: the program's folder).\n";

struct TUsageError {
    std::string Text;
};

int ParseCount(std::string_view text, const char *what)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        throw TUsageError{std::string(what) + " must be a non-negative number, not \"" + std::string(text) + "\""};
    return value;
}

int Run(const std::vector<std::string> &arguments)
{
    std::string dataFolder = platform::ProgramFolder();
    std::string command, operand, output;
    int levels = 0;
    bool sparse = false, levelsGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &a = arguments[i];
        const auto value = [&]() -> const std::string & {
            if (i + 1 >= arguments.size()) throw TUsageError{a + " needs a value"};
            return arguments[++i];
        };
        if (a == "--help" || a == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        } else if (a == "--data") {
            dataFolder = value();
        } else if (a == "--sample" || a == "--describe" || a == "--detailed") {
            if (!command.empty()) throw TUsageError{"only one of --sample, --describe and --detailed may be given"};
            command = a;
            operand = value();
            output = value();
        } else if (a == "--levels") {
            levels = ParseCount(value(), "--levels");
            levelsGiven = true;
        } else if (a == "--sparse") {
            sparse = true;
        } else {
            throw TUsageError{"unknown argument \"" + a + "\""};
        }
    }
    if (command.empty()) throw TUsageError{"nothing to do"};
    if (command != "--detailed" && (levelsGiven || sparse))
        throw TUsageError{"--levels and --sparse belong to --detailed"};

    if (command == "--sample")
        tools::WriteSampleList(operand, output, dataFolder);
    else if (command == "--describe")
        tools::WriteDescribedList(operand, output, dataFolder);
    else
        tools::WriteGeneratedDetailedList(ParseCount(operand, "N"), levels, sparse, output, dataFolder);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const TUsageError &e) {
        std::fprintf(stderr, "tarvilex-listwriter: %s\n%s", e.Text.c_str(), Usage);
        return 2;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tarvilex-listwriter: %s\n", e.what());
        return 1;
    }
}
