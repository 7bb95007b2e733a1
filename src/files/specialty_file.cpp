#include "files/specialty_file.h"

#include "files/fields.h"
#include "files/line_reader.h"
#include "files/safe_write.h"

#include <new>

namespace vellumar {
namespace {

bool NeedsQuotes(std::string_view entry) {
    for (char c : entry)
        if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',') return true;
    return false;
}

void AppendLine(std::string& out, std::string_view text) {
    out += WritableText(text);
    out += "\r\n";
}

} // namespace

std::string CommaListLine(const tStringList& entries) {
    std::string line;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) line += ',';
        const std::string entry = WritableText(entries[i]);
        // A last empty entry written bare would vanish on reading: a comma at
        // the end of a line adds no field.
        const bool last = i + 1 == entries.size();
        if (NeedsQuotes(entry) || (last && entry.empty()))
            AppendQuoted(line, entry);
        else
            line += entry;
    }
    return line;
}

FileResult<tSpecialtyList> ReadSpecialtyFile(const std::string& fileName) {
    try {
        LineReader reader(fileName);
        if (!reader.IsOpen()) return reader.Status();
        auto list = std::make_unique<tSpecialtyList>();
        do {
            auto specialty = std::make_unique<tSpecialty>(std::string(reader.ReadLine()));
            specialty->Preferred = SplitFields(reader.ReadLine());
            specialty->Prohibited = SplitFields(reader.ReadLine());
            list->Append(std::move(specialty));
        } while (!reader.AtEnd());
        // Part of a table, saved later, would lose the rest.
        if (reader.Failed()) return reader.Status();
        return reader.WithWarnings(std::move(list));
    } catch (const std::bad_alloc&) {
        return FileStatus(FileFailure::CannotRead, "not enough memory");
    }
}

FileStatus WriteSpecialtyFile(tSpecialtyList& list, const std::string& fileName) {
    const tSpecialty* current = list.CurrentSpecialty();
    std::string out;
    for (list.First(); list.CurrentSpecialty(); list.Next()) {
        const tSpecialty& specialty = *list.CurrentSpecialty();
        AppendLine(out, specialty.Name);
        AppendLine(out, CommaListLine(specialty.Preferred));
        AppendLine(out, CommaListLine(specialty.Prohibited));
    }
    if (current) { // the walk left the cursor empty; put it back
        list.First();
        while (list.CurrentSpecialty() && list.CurrentSpecialty() != current) list.Next();
    }
    return WriteFileAtomically(fileName, out);
}

} // namespace vellumar
