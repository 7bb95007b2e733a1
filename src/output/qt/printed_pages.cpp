#include "output/qt/printed_pages.h"

#include "output/qt/book_rendering.h"

#include <QPrinter>
#include <QScopeGuard>

namespace vellumar {

PrintedPages::Source PrintedPages::SourceOf(TSpellBook& book, const QString& caption,
                                            const SpellTexts* texts, const OutputFormat& format,
                                            const QPrinter& printer) {
    Source source{.book = &book,
                  .casterLevel = book.CasterLevel,
                  .intelligence = book.Intelligence,
                  .specialty = book.Specialty,
                  .spells = {},
                  .caption = caption,
                  .texts = texts,
                  .format = format,
                  .layout = printer.pageLayout(),
                  .resolution = printer.resolution()};
    source.spells.reserve(size_t(book.Count()));
    for (book.First(); book.CurrentSpell(); book.Next())
        source.spells.push_back(*book.CurrentSpell());
    return source;
}

void PrintedPages::Update(TSpellBook& book, const QString& caption, const SpellTexts* texts,
                          const OutputFormat& format, const QPrinter& printer,
                          const std::function<void(bool layingOut)>& layingOut) {
    Source source = SourceOf(book, caption, texts, format, printer);
    if (source_ == source) return;
    source_.reset();
    if (layingOut) layingOut(true);
    const auto ended = qScopeGuard([&] {
        if (layingOut) layingOut(false);
    });
    pages_ = LayOutPrintedPages(source.layout, source.resolution, book, caption, format, texts);
    source_ = std::move(source);
}

void PrintedPages::Clear() {
    source_.reset();
    pages_ = RecordedPages();
}

QImage PrintedPages::PageImage(int page, double dotsPerInch) const {
    if (!source_) return {};
    return RenderPageImage(pages_, page, source_->layout, source_->resolution,
                           dotsPerInch / source_->resolution);
}

double PrintedPages::PaperWidthInches() const {
    if (!source_) return 0;
    return source_->layout.fullRect(QPageLayout::Inch).width();
}

} // namespace vellumar
