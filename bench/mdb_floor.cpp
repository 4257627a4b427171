// zentoria_bench_mdbfloor: the floor of reading Access files, libmdb's own sequential read.
//
//   zentoria_bench_mdbfloor [--bind] FILE...
//
// Opens each file, reads its catalog and walks every row of every user table with
// mdb_fetch_row, binding nothing and copying nothing. With --bind, every column is bound,
// so that libmdb hands each value over as text (what any copy of the rows needs at
// least). Prints, per file and in all, the rows read and the seconds taken (a line
// "total ROWS SECONDS" last).
#include <glib.h>  // before mdbtools.h, which includes it inside extern "C"
#include <mdbtools.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <vector>

int main(int argc, char** argv) {
    long total = 0;
    const bool bind = argc > 1 && std::strcmp(argv[1], "--bind") == 0;
    const auto started = std::chrono::steady_clock::now();
    for (int f = bind ? 2 : 1; f < argc; ++f) {
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
            std::vector<std::vector<char>> buffers;
            if (bind) {
                buffers.resize(table->num_cols, std::vector<char>(MDB_BIND_SIZE));
                for (unsigned c = 0; c < table->num_cols; ++c)
                    mdb_bind_column(table, static_cast<int>(c + 1), buffers[c].data(), nullptr);
            }
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
