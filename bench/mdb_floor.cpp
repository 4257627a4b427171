// zentoria_bench_mdbfloor: the floor of reading Access files, libmdb's own sequential read.
//
//   zentoria_bench_mdbfloor FILE...
//
// Opens each file, reads its catalog and walks every row of every user table with
// mdb_fetch_row, binding nothing and copying nothing. Prints, per file and in all, the
// rows read and the seconds taken (a line "total ROWS SECONDS" last).
#include <glib.h>  // before mdbtools.h, which includes it inside extern "C"
#include <mdbtools.h>

#include <chrono>
#include <iostream>

int main(int argc, char** argv) {
    long total = 0;
    const auto started = std::chrono::steady_clock::now();
    for (int f = 1; f < argc; ++f) {
        const auto fileStarted = std::chrono::steady_clock::now();
        MdbHandle* mdb = mdb_open(argv[f], MDB_NOFLAGS);
        if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE)) {
            std::cerr << "zentoria_bench_mdbfloor: cannot read " << argv[f] << "\n";
            return 1;
        }
        long rows = 0;
        for (unsigned i = 0; i < mdb->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (entry->object_type != MDB_TABLE || mdb_is_system_table(entry)) continue;
            MdbTableDef* table = mdb_read_table(entry);
            if (!table) continue;
            mdb_read_columns(table);
            mdb_rewind_table(table);
            while (mdb_fetch_row(table)) ++rows;
            mdb_free_tabledef(table);
        }
        mdb_close(mdb);
        total += rows;
        std::cout << argv[f] << " " << rows << " "
                  << std::chrono::duration<double>(std::chrono::steady_clock::now() - fileStarted).count() << "\n";
    }
    std::cout << "total " << total << " "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() << "\n";
    return 0;
}
