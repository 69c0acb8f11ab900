#include "listview/list_actions.h"

namespace {
std::unique_ptr<TListActions>& actions() {
    static std::unique_ptr<TListActions> instance = std::make_unique<TListActions>();
    return instance;
}
}  // namespace

TListActions& GLB_list_actions() {
    return *actions();
}

void GLB_set_list_actions(std::unique_ptr<TListActions> replacement) {
    actions() = replacement ? std::move(replacement) : std::make_unique<TListActions>();
}
