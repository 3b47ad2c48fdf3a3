#include "tool/core/ToolContext.h"

namespace tool {

ToolContext::ToolContext(platform::Registry& registry, const ToolSettings& settings)
    : registry_(registry, settings.oposRoot),
      edition_(settings.edition),
      progIdList_(EditionProgIdList(settings.edition)),
      language_(settings.languageFile) {
  language_.ChooseLanguage(settings.systemLanguageId);
}

}  // namespace tool
