// Print-format templates through the template record (CTemplate, its
// procedures and its temporary work file) against raw sqlite3 running the
// same statements in the same run, on a 64 KB graphical template:
//   - saving a changed template (UpdateTemplate: the work file read, one
//     procedure call writing the content and the row version);
//   - opening it (OpenTemplate: one procedure call, the content copied into
//     a fresh work file).
// The raw side keeps the bytes in memory: the ratio is what the record's
// work file and the procedure layer cost.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <tuple>

#include "bench_support.h"
#include "model/ctemplate.h"

namespace {

vym::bench::BenchDatabase* bench = nullptr;
std::string content;  // 64 KB of label elements

constexpr int kFormat = 4;  // the demo's shelf label

void BM_SaveTemplateOurs(benchmark::State& state) {
    vym::CTemplate t;
    if (!t.OpenTemplate(&bench->DB(), nullptr, kFormat, "LASER", "A4", "None")) {
        t.SetFormatNo(kFormat);
        t.SetPrinterTypeID("LASER");
        t.SetPageSizeID("A4");
        t.SetDescription("Bench");
        t.SetTemplateType("TEMPLATE");
    }
    std::int64_t n = 0;
    for (auto _ : state) {
        content[0] = static_cast<char>('a' + n++ % 26);  // a change each time
        t.SetContent(content);
        if (!t.UpdateTemplate(&bench->DB(), nullptr)) {
            state.SkipWithError("the save failed");
            return;
        }
    }
}

void BM_SaveTemplateRaw(benchmark::State& state) {
    sqlite3* raw = bench->Raw();
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(raw,
                       "INSERT INTO vym_print_format_template (format_no, printer_type_id, "
                       "page_size_id, customer_level_id, description, template_type, "
                       "format_template, template_size) VALUES (?1, 'LASER', 'A4', 'None', "
                       "'Bench', 'TEMPLATE', ?2, ?3) ON CONFLICT (format_no, printer_type_id, "
                       "page_size_id, customer_level_id) DO UPDATE SET "
                       "format_template = excluded.format_template, "
                       "template_size = excluded.template_size, row_version = row_version + 1",
                       -1, &s, nullptr);
    std::int64_t n = 0;
    for (auto _ : state) {
        content[0] = static_cast<char>('a' + n++ % 26);
        sqlite3_exec(raw, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_bind_int(s, 1, kFormat);
        sqlite3_bind_blob(s, 2, content.data(), static_cast<int>(content.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 3, static_cast<int>(content.size()));
        sqlite3_step(s);
        sqlite3_reset(s);
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(s);
}

void BM_OpenTemplateOurs(benchmark::State& state) {
    for (auto _ : state) {
        vym::CTemplate t;
        if (!t.OpenTemplate(&bench->DB(), nullptr, kFormat, "LASER", "A4", "None") ||
            t.Content().size() != content.size()) {
            state.SkipWithError("the template did not open whole");
            return;
        }
    }
}

void BM_OpenTemplateRaw(benchmark::State& state) {
    sqlite3* raw = bench->Raw();
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(raw,
                       "SELECT description, template_type, template_size, format_template, "
                       "row_version FROM vym_print_format_template WHERE format_no = ?1 AND "
                       "printer_type_id = 'LASER' AND page_size_id = 'A4' AND "
                       "customer_level_id = 'None'",
                       -1, &s, nullptr);
    for (auto _ : state) {
        sqlite3_bind_int(s, 1, kFormat);
        if (sqlite3_step(s) == SQLITE_ROW) {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(s, 3));
            std::string copy(bytes, static_cast<std::size_t>(sqlite3_column_bytes(s, 3)));
            benchmark::DoNotOptimize(copy);
        }
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
}

BENCHMARK(BM_SaveTemplateOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTemplateRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTemplateOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTemplateRaw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vym::server::OpenOptions options;
    options.demoData = true;
    vym::bench::BenchDatabase database("template-bench", options);
    bench = &database;
    const std::string element =
        "  <text x=\"2\" y=\"2\" width=\"20\" height=\"5\" size=\"8\">Bench</text>\n";
    while (content.size() < 64 * 1024) {
        content += element;
    }
    vym::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    // No target: a screen saves or opens one template at a time; the ratio
    // says what the work file and the procedure layer add.
    for (const auto& [what, ours, raw] :
         {std::tuple{"Save a 64 KB template", "BM_SaveTemplateOurs", "BM_SaveTemplateRaw"},
          std::tuple{"Open a 64 KB template", "BM_OpenTemplateOurs", "BM_OpenTemplateRaw"}}) {
        const auto a = reporter.Time(ours);
        const auto b = reporter.Time(raw);
        if (a && b) {
            std::printf("%-24s ours %8.3f ms  raw %8.3f ms  ratio %.1f\n", what, *a, *b, *a / *b);
        }
    }
    return 0;
}
