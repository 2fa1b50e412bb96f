#include "bench/support/bench_document.h"

#include "simhost/document/document_builder.h"

namespace quorbench {

simhost::Document BenchDocument() {
    const char* upper =
        "q q 8 8 q | h q q | (3:2 8 8 8) q h | w | 8 8 8 8 q q | h. q | q q q q | w";
    const char* lower = "h h | q q q q | 8 8 8 8 h | w | h h | q q h | (3:2 q q q) h | w";
    return simhost::DocumentBuilder()
        .withStaff(1, {upper})
        .withStaff(41, {lower})
        .withAllotments({{256, 36}, {512, 48}, {1024, 72}, {2048, 96}, {4096, 132}})
        .withSelection(1, kBenchMeasures)
        .Build();
}

}  // namespace quorbench
