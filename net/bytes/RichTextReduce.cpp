#include "net/bytes/RichTextReduce.h"

#include <cstdio>
#include <cstring>

#include "foundation/bytes/TextChecks.h"

namespace {
const size_t kMaxWordLetters = 32;
const size_t kMaxColours = 256;

// Groups whose contents never reach the text: tables, pictures, fields'
// instructions, document information and the like.
const char* const kSkippedDestinations[] = {
    "fonttbl",   "stylesheet", "info",       "pict",       "object",   "header",  "footer",
    "headerl",   "headerr",    "headerf",    "footerl",    "footerr",  "footerf", "footnote",
    "fldinst",   "listtable",  "listoverridetable",        "revtbl",   "rsidtbl", "themedata",
    "colorschememapping",      "latentstyles",             "datastore", "xmlnstbl", "generator",
    "filetbl",   "pgdsctbl",   "nonshppict", "shppict",    "bkmkstart", "bkmkend", "xe",
    "tc",        "txe",        "objdata",    "result",     "private",   "mmathPr", "pntext",
};

struct CGroupState {
    bool skip = false;
    bool colourTable = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colourIndex = 0;
    int unicodeSkip = 1;
};

struct CColourEntry {
    bool set = false;
    std::uint32_t colour = 0;
};

class CReducer {
public:
    CReducer(const char* bytes, size_t length) : m_p(bytes), m_end(bytes + length) {}

    CReducedText Run()
    {
        m_groups.push_back(CGroupState());
        while (m_p < m_end) {
            char c = *m_p++;
            if (c == '{')
                OpenGroup();
            else if (c == '}')
                CloseGroup();
            else if (c == '\\')
                ControlSequence();
            else if (c != '\r' && c != '\n' && c != '\0')
                Character(static_cast<unsigned char>(c));
        }
        return std::move(m_out);
    }

private:
    CGroupState& State() { return m_groups.back(); }
    bool Skipping() const { return m_overflowDepth > 0 || m_groups.back().skip; }

    void OpenGroup()
    {
        if (m_overflowDepth > 0 || m_groups.size() >= kMaxGroupDepth) {
            ++m_overflowDepth;
            return;
        }
        m_groups.push_back(m_groups.back());
        m_groups.back().colourTable = false;
        m_destinationStart = true;
    }

    void CloseGroup()
    {
        m_pendingSkip = 0;
        if (m_overflowDepth > 0)
            --m_overflowDepth;
        else if (m_groups.size() > 1)
            m_groups.pop_back();
    }

    void ControlSequence()
    {
        if (m_p >= m_end)
            return;
        char c = *m_p;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            ControlWord();
            return;
        }
        ++m_p;
        bool wasStart = m_destinationStart;
        m_destinationStart = false;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            Character(static_cast<unsigned char>(c));
            break;
        case '~':
            Character(0xA0);
            break;
        case '_':
            Character('-');
            break;
        case '\'':
            HexCharacter();
            break;
        case '*':
            if (wasStart)
                State().skip = true;
            break;
        case '\r':
        case '\n':
            Emit('\n');
            break;
        default:
            break;  // optional hyphens, formula marks and the like show nothing
        }
    }

    void HexCharacter()
    {
        int value = 0;
        for (int k = 0; k < 2; ++k) {
            if (m_p >= m_end)
                return;
            int digit = HexDigitOrNone(*m_p);
            if (digit < 0)
                return;
            ++m_p;
            value = value * 16 + digit;
        }
        Character(static_cast<unsigned char>(value));
    }

    void ControlWord()
    {
        char word[kMaxWordLetters + 1];
        size_t letters = 0;
        while (m_p < m_end && ((*m_p >= 'a' && *m_p <= 'z') || (*m_p >= 'A' && *m_p <= 'Z'))) {
            if (letters < kMaxWordLetters)
                word[letters++] = *m_p;
            ++m_p;
        }
        word[letters] = '\0';
        bool hasParameter = false;
        bool negative = false;
        long parameter = 0;
        if (m_p < m_end && *m_p == '-') {
            negative = true;
            ++m_p;
        }
        for (int digits = 0; m_p < m_end && *m_p >= '0' && *m_p <= '9'; ++m_p) {
            if (digits++ < 9)
                parameter = parameter * 10 + (*m_p - '0');
            hasParameter = true;
        }
        if (negative)
            parameter = -parameter;
        if (m_p < m_end && *m_p == ' ')
            ++m_p;
        bool wasStart = m_destinationStart;
        m_destinationStart = false;
        Word(word, hasParameter, parameter, wasStart);
    }

    void Word(const char* word, bool hasParameter, long parameter, bool groupStart)
    {
        CGroupState& state = State();
        bool on = !hasParameter || parameter != 0;
        if (std::strcmp(word, "bin") == 0) {
            size_t skip = parameter > 0 ? static_cast<size_t>(parameter) : 0;
            m_p += skip < static_cast<size_t>(m_end - m_p) ? skip : static_cast<size_t>(m_end - m_p);
            return;
        }
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        if (groupStart && IsSkippedDestination(word)) {
            state.skip = true;
            return;
        }
        if (std::strcmp(word, "colortbl") == 0) {
            state.colourTable = true;
            m_colours.clear();
        } else if (std::strcmp(word, "par") == 0 || std::strcmp(word, "line") == 0 ||
                   std::strcmp(word, "sect") == 0 || std::strcmp(word, "page") == 0) {
            Emit('\n');
        } else if (std::strcmp(word, "tab") == 0) {
            Emit('\t');
        } else if (std::strcmp(word, "u") == 0 && hasParameter) {
            // Characters beyond one byte show as the writer's own stand-in
            // that follows them, or as '?' when it gave none.
            long code = parameter < 0 ? parameter + 65536 : parameter;
            if (code >= 0 && code < 256) {
                Emit(static_cast<unsigned char>(code));
                m_pendingSkip = state.unicodeSkip;
            } else if (state.unicodeSkip == 0) {
                Emit('?');
            }
        } else if (std::strcmp(word, "uc") == 0) {
            state.unicodeSkip = parameter >= 0 && parameter < 10 ? static_cast<int>(parameter) : 1;
        } else if (std::strcmp(word, "b") == 0) {
            state.bold = on;
        } else if (std::strcmp(word, "i") == 0) {
            state.italic = on;
        } else if (std::strcmp(word, "ul") == 0) {
            state.underline = on;
        } else if (std::strcmp(word, "ulnone") == 0) {
            state.underline = false;
        } else if (std::strcmp(word, "plain") == 0) {
            state.bold = state.italic = state.underline = false;
            state.colourIndex = 0;
        } else if (std::strcmp(word, "cf") == 0) {
            state.colourIndex = hasParameter && parameter >= 0 ? static_cast<int>(parameter) : 0;
        } else if (state.colourTable) {
            ColourComponent(word, parameter);
        } else if (std::strcmp(word, "emdash") == 0) {
            Emit(0x97);
        } else if (std::strcmp(word, "endash") == 0) {
            Emit(0x96);
        } else if (std::strcmp(word, "bullet") == 0) {
            Emit(0x95);
        } else if (std::strcmp(word, "lquote") == 0) {
            Emit(0x91);
        } else if (std::strcmp(word, "rquote") == 0) {
            Emit(0x92);
        } else if (std::strcmp(word, "ldblquote") == 0) {
            Emit(0x93);
        } else if (std::strcmp(word, "rdblquote") == 0) {
            Emit(0x94);
        }
    }

    static bool IsSkippedDestination(const char* word)
    {
        for (const char* skipped : kSkippedDestinations)
            if (std::strcmp(word, skipped) == 0)
                return true;
        return false;
    }

    void ColourComponent(const char* word, long value)
    {
        if (m_colours.empty())
            m_colours.push_back(CColourEntry());
        std::uint32_t byte = static_cast<std::uint32_t>(value < 0 ? 0 : value > 255 ? 255 : value);
        CColourEntry& entry = m_colours.back();
        if (std::strcmp(word, "red") == 0)
            entry.colour = (entry.colour & 0xFFFF00) | byte;
        else if (std::strcmp(word, "green") == 0)
            entry.colour = (entry.colour & 0xFF00FF) | byte << 8;
        else if (std::strcmp(word, "blue") == 0)
            entry.colour = (entry.colour & 0x00FFFF) | byte << 16;
        else
            return;
        entry.set = true;
    }

    void Character(unsigned char c)
    {
        m_destinationStart = false;
        if (State().colourTable && !Skipping()) {
            if (c == ';' && m_colours.size() < kMaxColours) {
                if (m_colours.empty())
                    m_colours.push_back(CColourEntry());
                m_colours.push_back(CColourEntry());
            }
            return;
        }
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        if (c == '\t' || c >= 0x20)
            Emit(c);
    }

    // Entry n of the colour table is the n-th one that a ';' ended; the last
    // entry, still open, is never used, and entry 0 means the text's own colour.
    bool LookUpColour(int index, std::uint32_t& colour) const
    {
        if (index <= 0 || static_cast<size_t>(index) + 1 >= m_colours.size() || !m_colours[index].set)
            return false;
        colour = m_colours[index].colour;
        return true;
    }

    void Emit(unsigned char c)
    {
        if (Skipping() || State().colourTable)
            return;
        if (m_written >= kMaxReducedBytes) {
            m_out.cut = true;
            return;
        }
        const CGroupState& state = State();
        CTextRun look;
        look.bold = state.bold;
        look.italic = state.italic;
        look.underline = state.underline;
        look.hasColour = LookUpColour(state.colourIndex, look.colour);
        if (m_out.runs.empty() || !SameLook(m_out.runs.back(), look))
            m_out.runs.push_back(look);
        m_out.runs.back().text += static_cast<char>(c);
        ++m_written;
    }

    static bool SameLook(const CTextRun& a, const CTextRun& b)
    {
        return a.bold == b.bold && a.italic == b.italic && a.underline == b.underline &&
               a.hasColour == b.hasColour && (!a.hasColour || a.colour == b.colour);
    }

    const char* m_p;
    const char* m_end;
    std::vector<CGroupState> m_groups;
    std::vector<CColourEntry> m_colours;
    size_t m_overflowDepth = 0;
    size_t m_written = 0;
    int m_pendingSkip = 0;
    bool m_destinationStart = false;
    CReducedText m_out;
};

CReducedText PlainInput(const char* bytes, size_t length)
{
    CReducedText out;
    out.runs.push_back(CTextRun());
    std::string& text = out.runs.back().text;
    for (size_t k = 0; k < length; ++k) {
        if (text.size() >= kMaxReducedBytes) {
            out.cut = true;
            break;
        }
        char c = bytes[k];
        if (c == '\r') {
            text += '\n';
            if (k + 1 < length && bytes[k + 1] == '\n')
                ++k;
        } else if (c != '\0') {
            text += c;
        }
    }
    return out;
}

void AppendHexColour(std::string& out, std::uint32_t colour)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
    out += hex;
}

void AppendHtmlText(std::string& out, const std::string& text, bool& afterSpace)
{
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\n':
            out += "<br>\r\n";
            break;
        case '\t':
            out += "&nbsp;&nbsp;&nbsp;&nbsp;";
            break;
        case ' ':
            // Runs of blanks keep their width.
            out += afterSpace ? "&nbsp;" : " ";
            break;
        default:
            out += c;
            break;
        }
        afterSpace = c == ' ' || c == '\n' || c == '\t';
    }
}
}

CReducedText ReduceRichText(const char* bytes, size_t length)
{
    static const char kRichTextStart[] = "{\\rtf";
    const size_t startLength = sizeof kRichTextStart - 1;
    if (!bytes || length < startLength || std::memcmp(bytes, kRichTextStart, startLength) != 0)
        return PlainInput(bytes ? bytes : "", bytes ? length : 0);
    return CReducer(bytes, length).Run();
}

std::string ReducedToPlainText(const CReducedText& text)
{
    std::string out;
    for (const CTextRun& run : text.runs)
        for (char c : run.text) {
            if (c == '\n')
                out += "\r\n";
            else
                out += c;
        }
    return out;
}

std::string ReducedToHtml(const CReducedText& text, std::uint32_t backColour)
{
    std::string out =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"></head>\r\n"
        "<body style=\"background-color:";
    AppendHexColour(out, backColour);
    out += "\">\r\n<div>";
    bool afterSpace = true;
    for (const CTextRun& run : text.runs) {
        if (run.hasColour) {
            out += "<span style=\"color:";
            AppendHexColour(out, run.colour);
            out += "\">";
        }
        if (run.bold)
            out += "<b>";
        if (run.italic)
            out += "<i>";
        if (run.underline)
            out += "<u>";
        AppendHtmlText(out, run.text, afterSpace);
        if (run.underline)
            out += "</u>";
        if (run.italic)
            out += "</i>";
        if (run.bold)
            out += "</b>";
        if (run.hasColour)
            out += "</span>";
    }
    out += "</div>\r\n</body></html>\r\n";
    return out;
}
