#include "output/output_format_options.h"

#include "model/text.h"

namespace vellumar {

FormatOptionsRead ReadFormatOptions(const OptionValue& value) {
    FormatOptionsRead read;
    OutputFormat& format = read.options.format;
    if (const auto columns = value("--columns")) {
        const auto number = ParseWholeNumber<int32_t>(*columns);
        if (!number || *number < MinColumns || *number > MaxColumns) {
            read.badOption = "--columns";
            read.badValue = *columns;
            return read;
        }
        format.Columns = *number;
    }
    format.IncludeCategory = value("--category").has_value();
    format.IncludeBookPage = !value("--no-book-page").has_value();
    format.IncludeFrequency = value("--frequency").has_value();
    format.IncludeSpellTexts = value("--texts").has_value();
    read.options.caption = value("--caption");
    return read;
}

std::vector<std::string> FormatOptionWords(const FormatOptions& options) {
    const OutputFormat& format = options.format;
    std::vector<std::string> words;
    if (format.Columns != OutputFormat().Columns)
        words.push_back("--columns=" + std::to_string(format.Columns));
    if (format.IncludeCategory) words.emplace_back("--category");
    if (!format.IncludeBookPage) words.emplace_back("--no-book-page");
    if (format.IncludeFrequency) words.emplace_back("--frequency");
    if (format.IncludeSpellTexts) words.emplace_back("--texts");
    if (options.caption) words.push_back("--caption=" + *options.caption);
    return words;
}

} // namespace vellumar
