#include "ui/master_list_holder.h"

#include "files/spell_file.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "ui/app_context.h"
#include "ui/working_box.h"

#include <filesystem>
#include <optional>

namespace vellumar {

namespace fs = std::filesystem;

MasterListHolder::MasterListHolder(AppContext& context) : context_(context) {}

MasterListHolder::~MasterListHolder() = default;

std::string MasterListHolder::MasterFilePath() const {
    const std::string name =
        context_.SettingsFile().ReadString("Vellumar", "MasterFile", "MASTER.DAT");
    if (name.empty() || name.find('/') != std::string::npos) return name;
    if (bareFolder_.empty()) {
        std::error_code ec;
        std::string working = fs::current_path(ec).string();
        if (working.empty() || working.back() != '/') working += '/';
        const std::string program = ProgramFolder();
        bareFolder_ =
            (!fs::exists(working + name, ec) && fs::exists(program + name, ec)) ? program : working;
    }
    return bareFolder_ + name;
}

void MasterListHolder::Load(QWidget* parent) {
    std::optional<QString> failure;
    const std::string path = MasterFilePath();
    {
        WorkingScope working(context_.Working(), QStringLiteral("Loading Master Spell List"));
        list_.reset();
        try {
            if (!path.empty()) list_ = ReadSpellList(path);
        } catch (const FileReadError& error) {
            list_.reset();
            failure = QString::fromLocal8Bit(error.what());
        }
        if (list_) list_->Modified = false;
    }
    if (failure)
        context_.prompter().Message(parent, BoxKind::Error, BoxButtons::Ok,
                                    QStringLiteral("Error Reading Master Spell List\r\n") +
                                        FromPath(path) + QStringLiteral("\r\n") + *failure);
}

} // namespace vellumar
