// The field lists of the shipped tables. Widths hold every value the program
// writes: bytes 3 digits, words 5, integers 10; texts as long as the program
// keeps them.
#include "TableTemplates.h"

namespace {
void Append(std::vector<FieldLayout>& to, const std::vector<FieldLayout>& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

const FieldLayout kHotkeyFields[] = {
    {"BNEWCTRL", 'L', 1},   {"BNEWALT", 'L', 1},    {"BNEWSHIFT", 'L', 1},  {"INEWKEY", 'N', 10},
    {"BNEWCCTRL", 'L', 1},  {"BNEWCALT", 'L', 1},   {"BNEWCSHIFT", 'L', 1}, {"INEWCKEY", 'N', 10},
    {"BSHOWACTRL", 'L', 1}, {"BSHOWAALT", 'L', 1},  {"BSHOWASHIF", 'L', 1}, {"ISHOWAKEY", 'N', 10},
    {"BHIDEACTRL", 'L', 1}, {"BHIDEAALT", 'L', 1},  {"BHIDEASHIF", 'L', 1}, {"IHIDEAKEY", 'N', 10},
    {"BSHOWLCTRL", 'L', 1}, {"BSHOWLALT", 'L', 1},  {"BSHOWLSHIF", 'L', 1}, {"ISHOWLKEY", 'N', 10},
};

const FieldLayout kDelayAndRetryFields[] = {
    {"BDELAY", 'L', 1}, {"BYDELAY", 'N', 3}, {"BYDELAYTYP", 'N', 3},
    {"BRETRY", 'L', 1}, {"BYRETRY", 'N', 3}, {"BYRETRYTYP", 'N', 3},
};

template <std::size_t N>
std::vector<FieldLayout> Of(const FieldLayout (&fields)[N])
{
    return std::vector<FieldLayout>(fields, fields + N);
}

std::vector<FieldLayout> ColourFields()
{
    return {{"BYBKRED", 'N', 3}, {"BYBKGREEN", 'N', 3}, {"BYBKBLUE", 'N', 3},
            {"BYFORED", 'N', 3}, {"BYFOGREEN", 'N', 3}, {"BYFOBLUE", 'N', 3},
            {"TIBKRED", 'N', 3}, {"TIBKGREEN", 'N', 3}, {"TIBKBLUE", 'N', 3},
            {"TIFORED", 'N', 3}, {"TIFOGREEN", 'N', 3}, {"TIFOBLUE", 'N', 3}};
}

// The members of a LOGFONT in order, for the body font and then the title font.
std::vector<FieldLayout> FontFields()
{
    return {{"LFHEIGHT", 'N', 5},   {"LFWIDTH", 'N', 5},    {"LFESCAPEME", 'N', 5}, {"LFORIENTAT", 'N', 5},
            {"LFWEIGHT", 'N', 5},   {"LFITALIC", 'N', 3},   {"LFUNDERLIN", 'N', 3}, {"LFSTRIKEOU", 'N', 3},
            {"LFCHARSET", 'N', 3},  {"LFOUTPRECI", 'N', 3}, {"LFCLIPPREC", 'N', 3}, {"LFQUALITY", 'N', 3},
            {"LFPITCHAND", 'N', 3}, {"LFFACENAME", 'C', 31},
            {"LFHEIGHTTI", 'N', 5}, {"LFWIDTHTI", 'N', 5},  {"LFESCAPETI", 'N', 5}, {"LFORIENTTI", 'N', 5},
            {"LFWEIGHTTI", 'N', 5}, {"LFITALICTI", 'N', 3}, {"LFUNDERLTI", 'N', 3}, {"LFSTRIKETI", 'N', 3},
            {"LFCHARSETI", 'N', 3}, {"LFOUTPRETI", 'N', 3}, {"LFCLIPPRTI", 'N', 3}, {"LFQUALITTI", 'N', 3},
            {"LFPITCHTI", 'N', 3},  {"LFFACENATI", 'C', 31}};
}

std::vector<FieldLayout> NoteFlagFields()
{
    return {{"BSTAYONTOP", 'L', 1}, {"BHASBORDER", 'L', 1}, {"BROLLUP", 'L', 1}, {"BSHOWDATE", 'L', 1}};
}

std::vector<FieldLayout> NotesFields()
{
    std::vector<FieldLayout> fields = {{"WUSERID", 'N', 5}};
    Append(fields, NoteFlagFields());
    Append(fields, {{"BMINIMIZED", 'L', 1},
                    {"WLEFT", 'N', 5}, {"WTOP", 'N', 5}, {"WWIDTH", 'N', 5}, {"WHEIGHT", 'N', 5}});
    Append(fields, ColourFields());
    Append(fields, {{"TEXT", 'N', 10},
                    {"RECEIVEDFR", 'C', 25}, {"CREATEDBY", 'C', 25}, {"LASTSENDTO", 'C', 25},
                    {"BYDAY", 'N', 3}, {"BYMONTH", 'N', 3}, {"WYEAR", 'N', 5},
                    {"WHOUR", 'N', 5}, {"WMINUTE", 'N', 5}, {"WSECOND", 'N', 5},
                    {"BYADAY", 'N', 3}, {"BYAMONTH", 'N', 3}, {"WAYEAR", 'N', 5},
                    {"WAHOUR", 'N', 5}, {"WAMINUTE", 'N', 5}, {"WASECOND", 'N', 5},
                    {"BALARMSET", 'L', 1}, {"BDEJAALARM", 'L', 1},
                    {"SZTITLE", 'C', 40}, {"W1", 'N', 5}});
    Append(fields, FontFields());
    Append(fields, Of(kDelayAndRetryFields));
    Append(fields, {{"ISENTALLOK", 'N', 10},
                    {"BSENT", 'L', 1}, {"BSENT1", 'L', 1}, {"BRECEIVED", 'L', 1}, {"BRECEIVED1", 'L', 1},
                    {"BYSDAY", 'N', 3}, {"BYSMONTH", 'N', 5}, {"WSHOUR", 'N', 5},
                    {"WSMINUTE", 'N', 5}, {"WSSECOND", 'N', 5}, {"WSYEAR", 'N', 5}});
    return fields;
}

std::vector<FieldLayout> UsersFields()
{
    std::vector<FieldLayout> fields = {{"WUSERID", 'N', 5}, {"SZUSERNAME", 'C', 25}, {"SZCOMPUTER", 'C', 25}};
    Append(fields, ColourFields());
    Append(fields, {{"SZTITLE", 'C', 40}});
    Append(fields, NoteFlagFields());
    Append(fields, FontFields());
    Append(fields, Of(kHotkeyFields));
    // BYDELAY and WLISTENPOR carry packed hotkeys (modifiers x 1000 + key).
    Append(fields, {{"BYDELAY", 'N', 5}, {"WLISTENPOR", 'N', 5}, {"WSENDPORT", 'N', 5},
                    {"SZINITTEXT", 'C', 25}, {"DATEFORMAT", 'N', 3},
                    {"BNETWORK", 'L', 1}, {"BDELAY", 'L', 1}, {"BHIDERECV", 'L', 1}, {"BUSEMYTAB", 'L', 1},
                    {"BSHOWSUSER", 'L', 1}, {"BSHOWSCOMP", 'L', 1}, {"BSENT1", 'L', 1}, {"BSHARENOTE", 'L', 1},
                    {"BSENT", 'L', 1}, {"BRECEIVED", 'L', 1}, {"BRECEIVED1", 'L', 1}, {"BHSCROLL", 'L', 1},
                    {"BVSCROLL", 'L', 1}, {"BDELSENT", 'L', 1}, {"BDISPSCROL", 'L', 1},
                    {"W1", 'N', 5}, {"SZ1", 'C', 49},
                    {"BYNOISE", 'N', 3}, {"SZSOUND", 'C', 100}, {"WREPLAY", 'N', 5},
                    {"DISPLRETRY", 'N', 3}, {"WSAVEINT", 'N', 5}, {"WLANGUAGE", 'N', 5}, {"ITRANSID", 'N', 10},
                    {"BYIPPART1", 'N', 3}, {"BYIPPART2", 'N', 3}, {"BYIPPART3", 'N', 3}, {"BYIPPART4", 'N', 3},
                    {"WNOWIDTH", 'N', 5}, {"WNOHEIGHT", 'N', 5},
                    {"BRETRY", 'L', 1}, {"BYRETRY", 'N', 3}, {"BYRETRYTYP", 'N', 3}});
    return fields;
}

// The settings table: the union of what its program row, option rows, note
// rows ("IN") and style rows ("TE") hold.
std::vector<FieldLayout> ConfigFields()
{
    std::vector<FieldLayout> fields = {{"CONFIG", 'C', 2}, {"VERSION", 'N', 6}};
    Append(fields, ColourFields());
    Append(fields, NoteFlagFields());
    Append(fields, {{"DATEFORMAT", 'N', 3}, {"DISPLRETRY", 'N', 3},
                    {"WLISTENPOR", 'N', 5}, {"WSENDPORT", 'N', 5},
                    {"BNETWORK", 'L', 1}, {"BATTACHED", 'L', 1}, {"BHIDERECV", 'L', 1}, {"BDELSENT", 'L', 1},
                    {"BUSEMYTAB", 'L', 1}, {"BSHOWSUSER", 'L', 1}, {"BSHOWSCOMP", 'L', 1},
                    {"BYNOISE", 'N', 3}, {"WREPLAY", 'N', 5}, {"SZSOUND", 'C', 100},
                    {"BSHARENOTE", 'L', 1}, {"BINCTIME", 'L', 1}, {"BCONFDEL", 'L', 1}});
    Append(fields, Of(kHotkeyFields));
    Append(fields, {{"BDESKCTRL", 'L', 1}, {"BDESKALT", 'L', 1}, {"BDESKSHIFT", 'L', 1}, {"IDESKKEY", 'N', 10}});
    Append(fields, FontFields());
    Append(fields, {{"WSAVEINT", 'N', 5}, {"WINITDIV", 'N', 5}, {"WLANGUAGE", 'N', 5}, {"DTIMES", 'N', 10},
                    {"WNOWIDTH", 'N', 5}, {"WNOHEIGHT", 'N', 5},
                    {"SZSMTP", 'C', 30}, {"SZSENDER", 'C', 30}, {"SZFRIENDLY", 'C', 30},
                    {"SZTITLE", 'C', 40}, {"SZ1", 'C', 14},
                    {"BHSCROLL", 'L', 1}, {"BRECEIVED1", 'L', 1}, {"BSENT1", 'L', 1}, {"BVSCROLL", 'L', 1},
                    {"BSENT", 'L', 1}, {"BRECEIVED", 'L', 1}, {"W2", 'N', 3}, {"W1", 'N', 5},
                    {"ISMTPPORT", 'N', 10}});
    Append(fields, Of(kDelayAndRetryFields));
    Append(fields, {{"BAUTOBACK", 'L', 1}, {"IAUTOBACK", 'N', 10},
                    {"LINES", 'N', 3}, {"COLUMNS", 'N', 3}, {"TEXT", 'N', 10}});
    return fields;
}

// Names are split over SZDESTINAT (16 characters) and PLXREST or C3.
std::vector<FieldLayout> SentToFields()
{
    return {{"WUSERID", 'N', 5},     {"COMPUTERID", 'N', 10}, {"SZDESTINAT", 'C', 16}, {"PLXREST", 'C', 100},
            {"C3", 'C', 100},        {"SZIPADDR", 'C', 15},   {"C2", 'C', 15},         {"PORT", 'N', 5},
            {"B1", 'L', 1},          {"C1", 'C', 14}};
}

std::vector<FieldLayout> TransactFields()
{
    // C4 keeps the path of an attached file; 255 is the widest a field can be.
    return {{"WUSERID", 'N', 5},   {"WNOTEID", 'N', 10},  {"ITRANSID", 'N', 10},  {"COMPUTERID", 'N', 10},
            {"SZDESTINAT", 'C', 16}, {"PLXREST", 'C', 100}, {"C3", 'C', 100},     {"SZIPADDR", 'C', 15},
            {"C2", 'C', 15},       {"C4", 'C', 255},      {"BSTATUS", 'L', 1},    {"BYSDAY", 'N', 3},
            {"BYSMONTH", 'N', 3},  {"WSYEAR", 'N', 5},    {"WSHOUR", 'N', 3},     {"WSMINUTE", 'N', 3},
            {"WSSECOND", 'N', 3},  {"BRETRY", 'L', 1},    {"BYRETRY", 'N', 3},    {"BYRETRYTYP", 'N', 3},
            {"PORT", 'N', 5}};
}

std::vector<FieldLayout> SoundsFields()
{
    return {{"WUSERID", 'N', 5}, {"WID", 'N', 3},      {"WTYPE", 'N', 3},
            {"WREPLAY", 'N', 5}, {"BENABLED", 'L', 1}, {"SZPATH", 'C', 100}};
}
}

std::vector<TableTemplate> AllTableTemplates()
{
    return {
        {"config.QPD", TableGroup::kConfig, ConfigFields(), SettingsRows(), true},
        {"users.QPD", TableGroup::kUsers, UsersFields(), {}, false},
        {"notes.QPD", TableGroup::kNotes, NotesFields(), {}, true},
        {"sentto.QPD", TableGroup::kSentTo, SentToFields(), {}, false},
        {"transact.QPD", TableGroup::kTransact, TransactFields(), {}, false},
        {"sounds.QPD", TableGroup::kSounds, SoundsFields(), {}, false},
    };
}
