#include "ui/tools/PresetCommands.h"

namespace zz {

std::string IntervalCommand(std::string_view sentence, std::string_view cycle,
                            std::string_view keyword)
{
    std::string command = "$DIRU,GP";
    command += keyword;
    command += ',';
    command += sentence;
    command += cycle;
    return command;
}

std::string IntervalCaption(std::string_view sentence, std::string_view cycle,
                            std::string_view keyword)
{
    return "Send (" + IntervalCommand(sentence, cycle, keyword) + ")";
}

} // namespace zz
