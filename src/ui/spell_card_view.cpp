#include "ui/spell_card_view.h"

#include "model/code_page.h"
#include "model/spell_text.h"
#include "output/spell_card.h"

namespace vellumar {
namespace {

QString Html(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toHtmlEscaped();
}

QString Html(const StyledText& runs) {
    QString html;
    for (const TextRun& run : runs) {
        QString text = Html(run.Text);
        if (run.Italic) text = QStringLiteral("<i>") + text + QStringLiteral("</i>");
        if (run.Bold) text = QStringLiteral("<b>") + text + QStringLiteral("</b>");
        html += text;
    }
    return html;
}

// `lead` (HTML) opens the first paragraph, or stands alone before a table.
void AddBlocks(QString& html, const std::vector<CardBlock>& blocks, QString lead = {}) {
    for (const CardBlock& block : blocks) {
        if (!block.IsTable()) {
            html += QStringLiteral("<p>") + lead + Html(block.Runs) + QStringLiteral("</p>");
            lead.clear();
            continue;
        }
        if (!lead.isEmpty()) html += QStringLiteral("<p>") + lead + QStringLiteral("</p>");
        lead.clear();
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">");
        bool heading = true;
        for (const std::vector<StyledText>& row : block.Cells) {
            const QString cell = heading ? QStringLiteral("th") : QStringLiteral("td");
            html += QStringLiteral("<tr>");
            for (const StyledText& text : row)
                html += QStringLiteral("<%1>%2</%1>").arg(cell, Html(text));
            html += QStringLiteral("</tr>");
            heading = false;
        }
        html += QStringLiteral("</table>");
    }
}

} // namespace

QString SpellCardHtml(const SpellCard& card) {
    QString html = QStringLiteral("<p style=\"font-size:large\"><b>") + Html(card.Title) +
                   QStringLiteral("</b></p>");
    if (!card.Subtitle.empty()) html += QStringLiteral("<p><i>") + Html(card.Subtitle) + "</i></p>";
    if (!card.Fields.empty()) {
        // Line breaks between the fields only: one after the last would stand
        // as an empty line before the first paragraph.
        QStringList fields;
        for (const CardField& field : card.Fields)
            fields << QStringLiteral("<b>%1:</b> %2").arg(Html(field.Label), Html(field.Value));
        html +=
            QStringLiteral("<p>") + fields.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
    }
    AddBlocks(html, card.Body);
    if (!card.HigherLevels.empty()) {
        // The label leads the first paragraph, as the books print it.
        AddBlocks(html, card.HigherLevels,
                  QStringLiteral("<b>") + Html(HigherLevelsLabel) + QStringLiteral("</b> "));
    }
    return html;
}

SpellCardView::SpellCardView(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("memSpellText"));
    setAccessibleName(QStringLiteral("Spell text"));
    setReadOnly(true);
    setOpenLinks(false);
}

void SpellCardView::ShowSpell(int32_t level, std::string_view name, const SpellTexts* texts) {
    const SpellText* text = texts ? texts->Find(level, name) : nullptr;
    if (text) {
        setHtml(SpellCardHtml(MakeSpellCard(level, name, *text)));
        return;
    }
    SpellCard bare;
    bare.Title = Cp1252ToUtf8(name);
    setHtml(SpellCardHtml(bare) + QStringLiteral("<p>No rules text.</p>"));
}

void SpellCardView::ShowNone() {
    clear();
}

} // namespace vellumar
