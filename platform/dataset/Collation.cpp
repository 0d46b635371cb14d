#include "Collation.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <stdexcept>

namespace velmora::data {

Collation::Collation()
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open("sr_Latn", &status);
    if (U_FAILURE(status))
        throw std::runtime_error("ICU collator for sr_Latn is not available");
}

Collation::~Collation()
{
    ucol_close(m_collator);
}

Collation &Collation::serbian()
{
    static Collation collation;
    return collation;
}

void Collation::appendSortKey(std::string_view utf8, std::string &out)
{
    if (m_buffer.size() < utf8.size() + 1)
        m_buffer.resize(utf8.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8Lenient(reinterpret_cast<UChar *>(m_buffer.data()), int32_t(m_buffer.size()), &length, utf8.data(),
                         int32_t(utf8.size()), &status);
    if (U_FAILURE(status))
        length = 0;
    const size_t start = out.size();
    size_t room = utf8.size() * 4 + 16;
    for (;;) {
        out.resize(start + room);
        const int32_t needed = ucol_getSortKey(m_collator, reinterpret_cast<const UChar *>(m_buffer.data()), length,
                                               reinterpret_cast<uint8_t *>(out.data() + start), int32_t(room));
        if (size_t(needed) <= room) {
            out.resize(start + size_t(needed) - 1); // drop the terminating zero
            return;
        }
        room = size_t(needed);
    }
}

} // namespace velmora::data
