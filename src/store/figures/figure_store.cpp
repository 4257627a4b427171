// Which back end holds the figure tables: the figure server while it is set, otherwise
// the figure files.
#include "common/env.h"
#include "store/figures/figure_store.h"

namespace zt::store {

std::unique_ptr<FigureStore> figureStore(const ProgramState& state) {
    if (auto setting = figuresServerSetting()) return serverFigureStore(*setting);
    state.requireFigurePaths();
    return fileFigureStore(state);
}

}  // namespace zt::store
