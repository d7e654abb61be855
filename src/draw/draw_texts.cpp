#include "draw/draw_texts.h"

#include "base/gbk.h"

namespace draw::texts {

#define KV_GBK_TEXT(function, utf8)                  \
  const std::string& function() {                    \
    static const std::string text = base::gbk(utf8); \
    return text;                                     \
  }

KV_GBK_TEXT(sectionAwards, "奖项设置")
KV_GBK_TEXT(sectionGivenUp, "弃奖")
KV_GBK_TEXT(sectionSupplementary, "补奖")
KV_GBK_TEXT(sectionPredetermined, "内定设置")
KV_GBK_TEXT(sectionBlacklist, "内定设置B")
KV_GBK_TEXT(sectionGroups, "奖项分组")
KV_GBK_TEXT(sectionGroupSwitch, "奖项分组设定")
KV_GBK_TEXT(sectionWindowStyle, "窗体样式")
KV_GBK_TEXT(sectionInterface, "界面设置")

#undef KV_GBK_TEXT

}  // namespace draw::texts
