// zentoria_bench_jetfloor FILE...: the floor of reading Access files, libmdb's own
// sequential read of every row of every user table (mdb_fetch_row, nothing bound, nothing
// copied). Prints, per file, its rows and the seconds taken, then the total.
// The C++ headers first: mdbtools.h includes glib inside extern "C".
#include <chrono>
#include <cstdio>
#include <type_traits>

#include <mdbtools.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: zentoria_bench_jetfloor FILE...\n");
        return 2;
    }
    double total = 0;
    long long allRows = 0;
    for (int i = 1; i < argc; ++i) {
        const auto start = std::chrono::steady_clock::now();
        MdbHandle* mdb = mdb_open(argv[i], MDB_NOFLAGS);
        if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE)) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        long long rows = 0;
        for (unsigned k = 0; k < mdb->num_catalog; ++k) {
            auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, k));
            if (e->object_type != MDB_TABLE || !mdb_is_user_table(e)) continue;
            MdbTableDef* t = mdb_read_table(e);
            if (!t || !mdb_read_columns(t)) return 1;
            mdb_rewind_table(t);
            while (mdb_fetch_row(t)) ++rows;
            mdb_free_tabledef(t);
        }
        mdb_close(mdb);
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s\t%lld rows\t%.2f s\n", argv[i], rows, s);
        total += s;
        allRows += rows;
    }
    std::printf("total\t%lld rows\t%.2f s\n", allRows, total);
    return 0;
}
