#include "editors/EditorHost.h"

#include <iostream>

namespace {

EditorHost* installedHost = nullptr;

} // namespace

EditorHost* GetEditorHost() {
    return installedHost;
}

void SetEditorHost(EditorHost* host) {
    installedHost = host;
}

Widget GetElementParentShell(const AElement& element) {
    if (installedHost == nullptr) {
        std::cerr << "GetElementParentShell: no editor host installed" << std::endl;
        return nullptr;
    }
    return installedHost->GetElementShell(element);
}
