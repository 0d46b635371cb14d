#pragma once

#include <string>
#include <string_view>

struct UCollator;

namespace velmora::data {

// Serbian (Latin) collation through ICU: "Čačak" sorts after "Cvetić" and
// before "Ćuprija", as a Serbian reader expects.
class Collation {
public:
    Collation();
    ~Collation();
    Collation(const Collation &) = delete;
    Collation &operator=(const Collation &) = delete;

    // Appends the binary sort key of the UTF-8 text (without its final zero);
    // keys compare with memcmp in collation order.
    void appendSortKey(std::string_view utf8, std::string &out);

    static Collation &serbian();

private:
    UCollator *m_collator = nullptr;
    std::u16string m_buffer;
};

} // namespace velmora::data
