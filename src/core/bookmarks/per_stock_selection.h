#pragma once
// A bookmark opened once for each selected stock: the selection split into
// one selection per stock, each as the code tree would give it with that
// stock alone selected.
#include <cstddef>
#include <vector>

#include "core/bookmarks/url_macro.h"

namespace sorvi {

// More stocks than this are opened only after the user agreed.
inline constexpr size_t kPerStockOpenWithoutAsking = 20;

// The stocks concerned follow the first selected node, as GatherSelection
// counts them: the selected stocks from it to the end of its group, or every
// stock of a selected group. In tree order; empty when nothing is selected.
std::vector<UrlSelection> GatherSelectionPerStock(const std::vector<TreeNodeView>& depth_first_nodes);

}  // namespace sorvi
