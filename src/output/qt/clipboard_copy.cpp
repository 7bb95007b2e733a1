#include "output/qt/clipboard_copy.h"

#include "output/qt/print_format_dialog.h"
#include "output/spellbook_text.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScopeGuard>

namespace vellumar {

bool CopySpellbookToClipboard(Prompter& prompter, TfrmPrintFormat& formatDialog,
                              OutputFormat& format, TSpellBook& book, const QString& caption,
                              const std::function<void()>& showWorking,
                              const std::function<void()>& hideWorking, const SpellTexts* texts) {
    if (prompter.Exec(formatDialog) != QDialog::Accepted) return false;
    if (showWorking) showWorking();
    const auto hide = qScopeGuard([&hideWorking] {
        if (hideWorking) hideWorking();
    });
    const std::string text =
        JoinWithCrLf(BuildSpellbookText(book, FromQString(caption), format, texts));
    QGuiApplication::clipboard()->setText(ToQString(text));
    return true;
}

} // namespace vellumar
