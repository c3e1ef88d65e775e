#include "export/export_paths.h"

namespace yomi6 {

std::size_t NameStart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

std::size_t ExtensionStart(std::string_view path) {
    const std::size_t name = NameStart(path);
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos || dot <= name ? path.size() : dot;
}

std::string_view NameStem(std::string_view path) {
    const std::size_t name = NameStart(path);
    return path.substr(name, ExtensionStart(path) - name);
}

} // namespace yomi6
