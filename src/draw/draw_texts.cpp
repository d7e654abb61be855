#include "draw/draw_texts.h"

#include "base/gbk.h"

namespace draw::texts {

#define KV_GBK_SECTION(function, name)               \
  const std::string& function() {                    \
    static const std::string text = base::gbk(name); \
    return text;                                     \
  }

KV_GBK_SECTION(sectionAwards, sections::kAwards)
KV_GBK_SECTION(sectionGivenUp, sections::kGivenUp)
KV_GBK_SECTION(sectionSupplementary, sections::kSupplementary)
KV_GBK_SECTION(sectionPredetermined, sections::kPredetermined)
KV_GBK_SECTION(sectionBlacklist, sections::kBlacklist)
KV_GBK_SECTION(sectionGroups, sections::kGroups)
KV_GBK_SECTION(sectionGroupSwitch, sections::kGroupSwitch)
KV_GBK_SECTION(sectionWindowStyle, sections::kWindowStyle)
KV_GBK_SECTION(sectionInterface, sections::kInterface)
KV_GBK_SECTION(sectionPictureDraw, sections::kPictureDraw)

#undef KV_GBK_SECTION

}  // namespace draw::texts
