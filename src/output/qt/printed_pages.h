#pragma once
// A book's pages as the printer will have them, for a preview that shows one
// page at a time: laid out once, then drawn page by page on demand.

#include "model/spell.h"
#include "model/spell_book.h"
#include "model/spell_text.h"
#include "output/output_format.h"
#include "output/page_recording.h"

#include <QImage>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace vellumar {

class PrintedPages {
public:
    // Lays the book out as Print would on `printer` as it is set up, unless
    // the pages were laid out from the very same spells, caption, texts,
    // format and paper already. `layingOut` hears when a layout starts (true)
    // and ends (false).
    void Update(TSpellBook& book, const QString& caption, const SpellTexts* texts,
                const OutputFormat& format, const QPrinter& printer,
                const std::function<void(bool layingOut)>& layingOut = {});
    void Clear();

    // None before the first Update.
    int Count() const { return source_ ? pages_.Count() : 0; }
    // The whole sheet of page `page`, at `dotsPerInch`.
    QImage PageImage(int page, double dotsPerInch) const;
    // The sheet's width in inches; 0 before the first Update.
    double PaperWidthInches() const;

private:
    // What the pages come from.
    struct Source {
        const TSpellBook* book = nullptr;
        int32_t casterLevel = 0;
        int32_t intelligence = 0;
        std::string specialty;
        std::vector<tSpell> spells;
        QString caption;
        const SpellTexts* texts = nullptr;
        OutputFormat format;
        QPageLayout layout;
        int resolution = 0;

        bool operator==(const Source&) const = default;
    };
    static Source SourceOf(TSpellBook& book, const QString& caption, const SpellTexts* texts,
                           const OutputFormat& format, const QPrinter& printer);

    std::optional<Source> source_;
    RecordedPages pages_;
};

} // namespace vellumar
