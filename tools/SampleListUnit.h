#pragma once
// Built-in sample lists and large generated lists for benchmarks. The data
// are made up but shaped like a small firm's month of calls, and seeded, so
// every run writes the same bytes.
#include <cstdint>
#include <string>

namespace tools {

// kind: "detailed", "summary", "statistics" or "empty". The list fields and
// the schema are the documents in dataFolder (the ones shipped beside the
// program). Raises TListWriterError for an unknown kind.
void WriteSampleList(const std::string &kind, const std::string &fileName, const std::string &dataFolder);

// A detailed list of count calls with 0, 1 (cost centre) or 2 (cost centre,
// extension) control-break levels. sparse leaves the record area of a list
// without levels as a hole of all-zero records.
void WriteGeneratedDetailedList(std::int32_t count, int levels, bool sparse, const std::string &fileName,
                                const std::string &dataFolder);

}  // namespace tools
