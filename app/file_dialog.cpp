#include "app/file_dialog.h"

#include <cstddef>

#include "engine/text.h"

namespace tarnuvo {

// The request size constant ends at the template name; a 32-bit build sends 76.
static_assert(sizeof(void*) != 4 || offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76);

void initFileDialog(OPENFILENAMEA& request, HWND owner, char* filter, char* fileBuffer,
                    bool forSaving) {
    fileBuffer[0] = '\0';
    // '|' is also the second byte of some double-byte characters; those stay.
    // The walk looks only past the byte it visited, so the zeros it writes do not end it.
    forEachSingleByte(filter, [&](size_t i) {
        if (filter[i] == '|') filter[i] = '\0';
        return true;
    });

    request = OPENFILENAMEA{};
    // The layout of the first explorer-style dialogs, sized for this build.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = owner;
    request.lpstrFilter = filter;
    request.lpstrFile = fileBuffer;
    request.nMaxFile = kFileBufferSize;
    request.Flags = forSaving
                        ? OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT
                        : OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
}

}  // namespace tarnuvo
