// What a new installation's settings table holds.
#include "TableTemplates.h"

namespace {
// The two ports every new installation listens on.
const long kListeningPort = 28081;
const long kSendingPort = 28082;

struct Colour {
    long red, green, blue;
};
// Pale tints colour note bodies, strong tints their title bars.
const Colour kPaleYellow = {255, 255, 159};
const Colour kStrongYellow = {255, 255, 111};
const Colour kBlack = {0, 0, 0};

void Append(TemplateRecord& to, const TemplateRecord& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

TemplateRecord Colours(const Colour& body, const Colour& text, const Colour& title, const Colour& titleText)
{
    return {Number("BYBKRED", body.red),       Number("BYBKGREEN", body.green),       Number("BYBKBLUE", body.blue),
            Number("BYFORED", text.red),       Number("BYFOGREEN", text.green),       Number("BYFOBLUE", text.blue),
            Number("TIBKRED", title.red),      Number("TIBKGREEN", title.green),      Number("TIBKBLUE", title.blue),
            Number("TIFORED", titleText.red),  Number("TIFOGREEN", titleText.green),  Number("TIFOBLUE", titleText.blue)};
}

// Tahoma ships with every system the program runs on: 10 points for the
// text, 8 points bold for the title (ANSI, stroke precision, variable pitch swiss).
TemplateRecord Fonts()
{
    return {Number("LFHEIGHT", -13),  Number("LFWIDTH", 0),     Number("LFESCAPEME", 0), Number("LFORIENTAT", 0),
            Number("LFWEIGHT", 400),  Number("LFITALIC", 0),    Number("LFUNDERLIN", 0), Number("LFSTRIKEOU", 0),
            Number("LFCHARSET", 0),   Number("LFOUTPRECI", 3),  Number("LFCLIPPREC", 2), Number("LFQUALITY", 1),
            Number("LFPITCHAND", 34), Text("LFFACENAME", "Tahoma"),
            Number("LFHEIGHTTI", -11), Number("LFWIDTHTI", 0),  Number("LFESCAPETI", 0), Number("LFORIENTTI", 0),
            Number("LFWEIGHTTI", 700), Number("LFITALICTI", 0), Number("LFUNDERLTI", 0), Number("LFSTRIKETI", 0),
            Number("LFCHARSETI", 0),  Number("LFOUTPRETI", 3),  Number("LFCLIPPRTI", 2), Number("LFQUALITTI", 1),
            Number("LFPITCHTI", 34),  Text("LFFACENATI", "Tahoma")};
}

TemplateRecord NoteFlags()
{
    return {Flag("BROLLUP", false), Flag("BSHOWDATE", true), Flag("BSTAYONTOP", false), Flag("BHASBORDER", true)};
}

TemplateRecord DelayAndRetry()
{
    return {Flag("BDELAY", false), Number("BYDELAY", 1), Number("BYDELAYTYP", 3),
            Flag("BRETRY", false), Number("BYRETRY", 3), Number("BYRETRYTYP", 1)};
}

// Virtual keys of the default hotkeys, all with Alt+Shift.
TemplateRecord Hotkeys()
{
    struct Hotkey {
        const char *ctrl, *alt, *shift, *key;
        long virtualKey;
    };
    const Hotkey hotkeys[] = {
        {"BNEWCTRL", "BNEWALT", "BNEWSHIFT", "INEWKEY", 'N'},
        {"BNEWCCTRL", "BNEWCALT", "BNEWCSHIFT", "INEWCKEY", 'C'},
        {"BSHOWACTRL", "BSHOWAALT", "BSHOWASHIF", "ISHOWAKEY", 'S'},
        {"BHIDEACTRL", "BHIDEAALT", "BHIDEASHIF", "IHIDEAKEY", 'H'},
        {"BSHOWLCTRL", "BSHOWLALT", "BSHOWLSHIF", "ISHOWLKEY", 'L'},
        {"BDESKCTRL", "BDESKALT", "BDESKSHIFT", "IDESKKEY", 'D'},
    };
    TemplateRecord values;
    for (const Hotkey& hotkey : hotkeys)
        Append(values, {Flag(hotkey.ctrl, false), Flag(hotkey.alt, true), Flag(hotkey.shift, true),
                        Number(hotkey.key, hotkey.virtualKey)});
    return values;
}

TemplateRecord ProgramSettingsRow()
{
    TemplateRecord row = {Text("CONFIG", ""), Real("VERSION", 5.00)};
    Append(row, Colours(kPaleYellow, kBlack, kStrongYellow, kBlack));
    Append(row, NoteFlags());
    Append(row, {Number("DATEFORMAT", 0), Number("DISPLRETRY", 2),
                 Number("WLISTENPOR", kListeningPort), Number("WSENDPORT", kSendingPort),
                 Flag("BNETWORK", true), Flag("BATTACHED", true), Flag("BHIDERECV", false), Flag("BDELSENT", false),
                 Flag("BUSEMYTAB", true), Flag("BSHOWSUSER", true), Flag("BSHOWSCOMP", true),
                 Number("BYNOISE", 3), Number("WREPLAY", 0), Text("SZSOUND", "alarm.wav"),
                 Flag("BSHARENOTE", false), Flag("BINCTIME", false), Flag("BCONFDEL", false)});
    Append(row, Hotkeys());
    Append(row, Fonts());
    Append(row, {Number("WSAVEINT", 5), Number("WINITDIV", 1), Number("WLANGUAGE", 1), Real("DTIMES", 0),
                 Number("WNOWIDTH", 163), Number("WNOHEIGHT", 131),
                 Text("SZSMTP", ""), Text("SZSENDER", ""), Text("SZFRIENDLY", ""), Text("SZTITLE", ""), Text("SZ1", ""),
                 Flag("BHSCROLL", true), Flag("BRECEIVED1", true), Flag("BSENT1", false), Flag("BVSCROLL", false),
                 Flag("BSENT", false), Flag("BRECEIVED", false), Number("W2", 0), Number("W1", 0),
                 Number("ISMTPPORT", 25), Flag("BAUTOBACK", true), Number("IAUTOBACK", 7)});
    Append(row, DelayAndRetry());
    return row;
}

// Row 2: the twelve hotkey switches (format 7: all stored) and mail options.
TemplateRecord OptionsRow()
{
    TemplateRecord row = {Number("WSAVEINT", 0), Number("INEWKEY", 7), Number("WINITDIV", 1),
                          Text("SZSMTP", ""), Text("SZSENDER", ""), Text("SZFRIENDLY", ""), Flag("BCONFDEL", false),
                          Text("SZSOUND", ""), Flag("BINCTIME", false), Flag("BAUTOBACK", true)};
    for (const char* flag : {"BNEWCTRL", "BNEWALT", "BNEWSHIFT", "BSHOWACTRL", "BSHOWAALT", "BSHOWASHIF",
                             "BHIDEACTRL", "BHIDEAALT", "BHIDEASHIF", "BSHOWLCTRL", "BSHOWLALT", "BSHOWLSHIF"})
        row.push_back(Flag(flag, true));
    return row;
}

TemplateRecord WelcomeNoteRow()
{
    TemplateRecord row = {Text("CONFIG", "IN"), Text("SZTITLE", "Welcome to Quillnet+"),
                          Number("WNOWIDTH", 260), Number("WNOHEIGHT", 170),
                          Memo("TEXT", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Tahoma;}}\\f0\\fs20 "
                                       "Welcome to Quillnet+!\\par\\par "
                                       "This is a note. Write in it, drag it by its title bar, "
                                       "give it colours and an alarm, or send it to another computer.\\par}")};
    Append(row, Colours(kPaleYellow, kBlack, kStrongYellow, kBlack));
    Append(row, NoteFlags());
    Append(row, Fonts());
    Append(row, DelayAndRetry());
    return row;
}

// A style row that no user has defined yet keeps only its background colours.
TemplateRecord StyleRow(const Colour& body, const Colour& title)
{
    TemplateRecord row = {Text("CONFIG", "TE"), Number("WLANGUAGE", 0)};
    Append(row, {Number("BYBKRED", body.red), Number("BYBKGREEN", body.green), Number("BYBKBLUE", body.blue),
                 Number("TIBKRED", title.red), Number("TIBKGREEN", title.green), Number("TIBKBLUE", title.blue)});
    return row;
}
}

std::vector<TemplateRecord> SettingsRows()
{
    std::vector<TemplateRecord> rows = {
        ProgramSettingsRow(),
        OptionsRow(),
        {Text("SZSMTP", ""), Text("SZSOUND", "")}, // continuation of the mail texts
        {Text("SZSOUND", "")},                     // backup folder: the data folder's BACKUP
        WelcomeNoteRow(),
        {Text("CONFIG", "")}, // rows 6 and 7 are spare: style rows start at row 8
        {Text("CONFIG", "")},
    };
    // The standard styles: red, green, blue, yellow, then the numbered colours.
    const Colour bodies[9] = {{255, 159, 159}, {159, 255, 159}, {159, 159, 255}, {255, 255, 159}, {200, 204, 184},
                              {200, 204, 184}, {200, 204, 184}, {200, 204, 184}, {255, 133, 74}};
    const Colour titles[9] = {{255, 111, 111}, {111, 255, 111}, {111, 111, 255}, {255, 255, 111}, {0, 128, 128},
                              {0, 255, 0},     {200, 0, 96},    {254, 65, 65},   {223, 223, 255}};
    for (int style = 0; style < 9; ++style)
        rows.push_back(StyleRow(bodies[style], titles[style]));
    return rows;
}

// The sites of web searches, currency conversions and translations; keys are
// at most 6 (currencies) and 12 (language pairs) characters, values 31.
std::string WebSearchFile()
{
    return "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
           "<webSearch>\r\n"
           "  <currencyConversion>\r\n"
           "    <currencyPairArgument>\r\n"
           "      <key>USDEUR</key>\r\n"
           "      <actualValue>USD to EUR</actualValue>\r\n"
           "    </currencyPairArgument>\r\n"
           "    <currencyPairArgument>\r\n"
           "      <key>EURUSD</key>\r\n"
           "      <actualValue>EUR to USD</actualValue>\r\n"
           "    </currencyPairArgument>\r\n"
           "    <currencyPairArgument>\r\n"
           "      <key>GBPEUR</key>\r\n"
           "      <actualValue>GBP to EUR</actualValue>\r\n"
           "    </currencyPairArgument>\r\n"
           "  </currencyConversion>\r\n"
           "  <textTranslation>\r\n"
           "    <languagePairArgument>\r\n"
           "      <key>en|fr</key>\r\n"
           "      <actualValue>English to French</actualValue>\r\n"
           "    </languagePairArgument>\r\n"
           "    <languagePairArgument>\r\n"
           "      <key>fr|en</key>\r\n"
           "      <actualValue>French to English</actualValue>\r\n"
           "    </languagePairArgument>\r\n"
           "    <languagePairArgument>\r\n"
           "      <key>en|de</key>\r\n"
           "      <actualValue>English to German</actualValue>\r\n"
           "    </languagePairArgument>\r\n"
           "  </textTranslation>\r\n"
           "</webSearch>\r\n";
}
