// Logical font requests.
#include "render/DeviceContext.h"

#include <cstring>

void TLogFont::SetFaceName(std::string_view face)
{
    std::memset(FaceName, 0, sizeof FaceName);
    const size_t n = face.size() < sizeof FaceName - 1 ? face.size() : sizeof FaceName - 1;
    std::memcpy(FaceName, face.data(), n);
}

std::string_view TLogFont::Face() const
{
    return std::string_view(FaceName, strnlen(FaceName, sizeof FaceName));
}
