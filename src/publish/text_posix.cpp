// Natively the texts are taken as Windows Latin-1, the code page of the
// launcher's string table.
#include "pe/codepage.h"
#include "publish/publish.h"

namespace orv::publish {

std::u16string AnsiToUtf16(const std::string& text) {
    return pe::Cp1252ToUtf16(text);
}

} // namespace orv::publish
