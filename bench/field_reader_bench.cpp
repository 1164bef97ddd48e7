// Reading speed of the editor's file format on a large hotspot-style file.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/code_page.h"
#include "project/field_reader.h"
#include "project/field_writer.h"

namespace {

using taviro::project::FieldReader;
using taviro::project::FieldWriter;

// 10,000 records shaped like hotspot records: variants, numbers, booleans, names and conditions.
std::string HotspotFile(int records) {
    FieldWriter writer;
    for (int i = 0; i < records; ++i) {
        writer.WriteNumber(i).WriteNumber(0).EndLine();
        for (int k = 0; k < 8; ++k) writer.WriteString("");
        writer.EndLine();
        writer.WriteNumber(150 * (i % 40)).WriteNumber(300).WriteNumber(1500).WriteNumber(975).WriteNumber(0);
        writer.WriteBoolean(i % 2 == 0).WriteString("door_" + std::to_string(i) + ".bmp").WriteNumber(1);
        writer.WriteString("default").WriteNumber(1).EndLine();
        writer.WriteNumber(2).WriteString("door_open").WriteString("light_off").WriteNumber(1);
        writer.WriteString("has_key").EndLine();
        writer.WriteString("1.5").WriteBoolean(false).WriteString("").WriteBoolean(false).EndLine();
        writer.WriteString("----- SEPARATOR -----").EndLine();
    }
    return writer.text();
}

// Reads every field of every record as the hotspot loader does.
int64_t ReadAll(FieldReader& reader) {
    int64_t sum = 0;
    while (!reader.AtEnd()) {
        reader.ReadVariant();
        sum += reader.ReadInteger();
        reader.Skip(8);
        for (int k = 0; k < 5; ++k) sum += static_cast<int64_t>(reader.ReadDouble());
        sum += reader.ReadBoolean();
        sum += static_cast<int64_t>(reader.ReadString().size());
        sum += reader.ReadInteger();
        sum += static_cast<int64_t>(reader.ReadString().size());
        sum += reader.ReadInteger();
        for (int count = reader.ReadInteger(); count > 0; --count)
            sum += static_cast<int64_t>(reader.ReadString().size());
        for (int count = reader.ReadInteger(); count > 0; --count)
            sum += static_cast<int64_t>(reader.ReadString().size());
        reader.ReadVariant();
        sum += reader.ReadBoolean();
        sum += static_cast<int64_t>(reader.ReadString().size());
        sum += reader.ReadBoolean();
        reader.SkipRecord();
    }
    return sum;
}

void ReadHotspotRecords(benchmark::State& state) {
    const std::string file = HotspotFile(10000);
    for (auto _ : state) {
        FieldReader reader(file);
        benchmark::DoNotOptimize(ReadAll(reader));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
}
BENCHMARK(ReadHotspotRecords)->Unit(benchmark::kMillisecond);

// The same with the decoding from the project's code page that every file read goes through.
void DecodeAndReadHotspotRecords(benchmark::State& state) {
    const std::string file = HotspotFile(10000);
    const taviro::platform::CodePage codePage(1252);
    for (auto _ : state) {
        FieldReader reader(codePage.Decode(file));
        benchmark::DoNotOptimize(ReadAll(reader));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
}
BENCHMARK(DecodeAndReadHotspotRecords)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
