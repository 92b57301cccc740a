#include "mail/IdIso2022Jp.h"

#include <cstdint>

namespace {

constexpr const char* EnterJis = "\x1B$B";
constexpr const char* EnterAscii = "\x1B(B";

// JIS X 0208 codes of the half-width katakana 0xA1 to 0xDF.
constexpr uint16_t FullWidthKatakana[] = {
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523, 0x2525, 0x2527, 0x2529, 0x2563, 0x2565,
    0x2567, 0x2543, 0x213C, 0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B, 0x252D, 0x252F, 0x2531, 0x2533,
    0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F, 0x2541, 0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C,
    0x254D, 0x254E, 0x254F, 0x2552, 0x2555, 0x2558, 0x255B, 0x255E, 0x255F, 0x2560, 0x2561, 0x2562, 0x2564,
    0x2566, 0x2568, 0x2569, 0x256A, 0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C,
};

constexpr unsigned char VoicedMark = 0xDE;
constexpr unsigned char SemiVoicedMark = 0xDF;

// The voiced form of a full-width katakana (ka to to, ha to ho, u), or 0 when it has none.
uint16_t VoicedForm(uint16_t code)
{
    if (code == 0x2526) return 0x2574;
    bool kaToChi = code >= 0x252B && code <= 0x2541 && code % 2 == 1;
    bool tsuToTo = code == 0x2544 || code == 0x2546 || code == 0x2548;
    bool haRow = code >= 0x254F && code <= 0x255B && (code - 0x254F) % 3 == 0;
    return kaToChi || tsuToTo || haRow ? code + 1 : 0;
}

bool IsLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF);
}

bool IsValidTrail(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The standard Shift_JIS to JIS X 0208 transform.
uint16_t ShiftJisToJis(unsigned char lead, unsigned char trail)
{
    int row = (lead - (lead <= 0x9F ? 0x71 : 0xB1)) * 2;
    if (trail >= 0x9F) return static_cast<uint16_t>((row + 2) << 8 | (trail - 0x7E));
    return static_cast<uint16_t>((row + 1) << 8 | (trail - 0x1F - (trail >= 0x80 ? 1 : 0)));
}

class Iso2022JpWriter
{
public:
    void Ascii(char c)
    {
        if (jis_) out_ += EnterAscii;
        jis_ = false;
        out_ += c;
    }
    void Jis(uint16_t code)
    {
        if (!jis_) out_ += EnterJis;
        jis_ = true;
        out_ += static_cast<char>(code >> 8);
        out_ += static_cast<char>(code & 0xFF);
    }
    std::string Finish()
    {
        if (jis_) out_ += EnterAscii;
        return std::move(out_);
    }

private:
    std::string out_;
    bool jis_ = false;
};

} // namespace

std::string ShiftJisToIso2022Jp(std::string_view text)
{
    Iso2022JpWriter writer;
    auto byteAt = [&](size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0; };
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char b = byteAt(i);
        if (b == 0x1B) {
            // ESC starts the escape sequences of ISO-2022-JP; as text it has no form there.
        } else if (b < 0x80) {
            writer.Ascii(text[i]);
        } else if (IsLead(b)) {
            if (i + 1 < text.size() && IsValidTrail(byteAt(i + 1)))
                writer.Jis(ShiftJisToJis(b, byteAt(i + 1)));
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            uint16_t code = FullWidthKatakana[b - 0xA1];
            uint16_t voiced = VoicedForm(code);
            if (voiced != 0 && byteAt(i + 1) == VoicedMark) {
                code = voiced;
                ++i;
            } else if (voiced >= 0x2550 && voiced <= 0x255C && byteAt(i + 1) == SemiVoicedMark) {
                code = voiced + 1;
                ++i;
            }
            writer.Jis(code);
        } else if (b >= 0xF0 && b <= 0xFC) {
            ++i;
        }
    }
    return writer.Finish();
}
