#include "app/com_apartment.h"

#include <windows.h>

namespace tarnuvo {
namespace {

// CoGetApartmentType exists from Windows 7 on; looked up, not linked.
using GetApartmentType = HRESULT(WINAPI*)(int* type, int* qualifier);
constexpr int kSingleThreaded = 0;      // APTTYPE_STA
constexpr int kMainSingleThreaded = 3;  // APTTYPE_MAINSTA

GetApartmentType apartmentQuery() {
    static GetApartmentType query = [] {
        HMODULE ole = GetModuleHandleA("ole32.dll");
        if (!ole) ole = LoadLibraryA("ole32.dll");
        return ole ? reinterpret_cast<GetApartmentType>(
                         reinterpret_cast<void*>(GetProcAddress(ole, "CoGetApartmentType")))
                   : nullptr;
    }();
    return query;
}

}  // namespace

bool inSingleThreadedApartment() {
    GetApartmentType query = apartmentQuery();
    if (!query) return false;
    int type = -1;
    int qualifier = 0;
    if (FAILED(query(&type, &qualifier))) return false;
    return type == kSingleThreaded || type == kMainSingleThreaded;
}

}  // namespace tarnuvo
