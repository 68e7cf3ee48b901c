#include "tests/common/font_faces.h"

#include "support/bounded_text.h"
#include "support/owners.h"

namespace {

int CALLBACK Collect(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM faces)
{
    reinterpret_cast<std::vector<font_face_t>*>(faces)->push_back({font->lfFaceName, type});
    return 1;
}

}  // namespace

std::vector<font_face_t> FontFaces(const std::string& name)
{
    std::vector<font_face_t> faces;
    LOGFONTA query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    CopyText(query.lfFaceName, name.c_str());
    EnumFontFamiliesExA(WindowDc(nullptr).Get(), &query, Collect, reinterpret_cast<LPARAM>(&faces), 0);
    return faces;
}
