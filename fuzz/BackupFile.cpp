// Backup files from arbitrary bytes: every note and computer the file holds is
// read without a read outside its bytes, and the notes read, written again the
// way the program writes backups, read back to the same texts.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "xmlfiles/bytes/BackupReading.h"
#include "xmlfiles/bytes/BackupWriting.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

namespace {
const int kMostNotes = 8;

std::vector<BackupNote> ReadNotes(CXMLBufferDocument& doc)
{
    std::vector<BackupNote> notes;
    std::string error;
    const int count = doc.CountElements("backup", "note", nullptr, 0);
    for (int k = 1; k <= count && k <= kMostNotes; ++k) {
        BackupNote note;
        std::vector<BackupMissingField> missing;
        ReadBackupNote(doc, k, note, missing);
        notes.push_back(note);
    }
    return notes;
}

bool Parse(CXMLBufferDocument& doc, std::vector<char>& bytes)
{
    doc.SetBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), "fuzz.QPK");
    return doc.Parse() == 1;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    if (size > 1 << 20)
        return 0;
    std::vector<char> bytes(data, data + size);
    CXMLBufferDocument doc;
    if (!Parse(doc, bytes))
        return 0;
    std::string error;
    FUZZ_CHECK(CountBackupNotes(doc, error) >= -1);
    const std::vector<BackupNote> notes = ReadNotes(doc);
    std::vector<BackupComputer> computers;
    std::string problem;
    const int read = ReadBackupComputers(doc, computers, problem);
    FUZZ_CHECK(read >= -1 && read <= 1);

    CXmlTextSink sink;
    sink.WriteLine(kBackupHeaderLine);
    sink.WriteStartTag(kBackupRootName, 0);
    for (size_t i = 0; i < notes.size(); ++i)
        WriteNoteXml(sink, notes[i], static_cast<int>(i + 1));
    WriteComputersXml(sink, computers, 1);
    sink.WriteEndTag(kBackupRootName, 0);
    std::vector<char> written(sink.Text().begin(), sink.Text().end());
    CXMLBufferDocument again;
    FUZZ_CHECK(Parse(again, written));
    const std::vector<BackupNote> reread = ReadNotes(again);
    FUZZ_CHECK(reread.size() == notes.size());
    for (size_t i = 0; i < notes.size(); ++i) {
        FUZZ_CHECK(reread[i].content == notes[i].content);
        FUZZ_CHECK(reread[i].protectedBody == notes[i].protectedBody);
        FUZZ_CHECK(reread[i].title == notes[i].title);
        FUZZ_CHECK(reread[i].group == notes[i].group);
        FUZZ_CHECK(reread[i].associations.size() == notes[i].associations.size());
    }
    return 0;
}
