#pragma once
// The topic numbers of the help file, one for each window that has a help key.

namespace vellumar {

enum HelpTopic : int {
    TopicFrame = 1,
    TopicSpellBook = 100,
    TopicPrintPreview = 200,
    TopicOutputFormat = 300,
    TopicNewSpellbook = 400,
    TopicDataDirectory = 500,
    TopicOdds = 600,
    TopicSpecialties = 700,
    TopicSpecialtyName = 710,
    TopicSpellEdit = 750,
    TopicMasterList = 800,
    TopicScroll = 1200,
    TopicRecovery = 2500, // unsaved work kept, and the books reopened at start
};

} // namespace vellumar
