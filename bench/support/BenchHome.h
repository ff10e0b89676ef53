#pragma once
#include "core/Home.h"

namespace cangshu::bench {

// A home with a SQLite library of the given size, made once by the generator and kept in
// $CANGSHU_BENCH_DIR (default /tmp/cangshu-bench) for later runs.
Home libraryHome(int books, int readers, int loans, int history);

} // namespace cangshu::bench
