#include "ComApartment.h"

#include "OsError.h"

#include <objbase.h>

namespace brevalo::os {

ComApartment::ComApartment() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (result == RPC_E_CHANGED_MODE)
        return; // already initialised in the multithreaded apartment
    if (FAILED(result))
        throw base::OsError(static_cast<std::uint32_t>(result));
    // S_OK and S_FALSE (already initialised) both take a reference to undo.
    joined_ = true;
}

ComApartment::~ComApartment() {
    if (joined_)
        CoUninitialize();
}

} // namespace brevalo::os
