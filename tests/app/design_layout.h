#pragma once

#include <QRect>
#include <ostream>

// The designed place of every control of the main window, for the tests that check the layout.
namespace designlayout {

struct ControlSpec {
  const char* name;
  const char* parent;  // design name of the holding group box; nullptr for the client area
  QRect rect;
  const char* text;  // nullptr when the control has no design text
};

// Every control of the window with its designed place; the tag toolbar shares the top edge
// with the playback toolbar and sits in the first row.
const ControlSpec kControls[] = {
    {"工具条_控制播放", nullptr, {0, 28, 536, 28}, nullptr},
    {"工具条_标签加入", nullptr, {-8, 0, 499, 28}, nullptr},
    {"滑块条_播放进度", nullptr, {0, 56, 524, 34}, nullptr},
    {"超级列表框_歌曲信息", nullptr, {0, 91, 524, 38}, nullptr},
    {"列表框_歌词文件编辑", nullptr, {0, 132, 524, 333}, nullptr},
    {"透明标签_歌手", nullptr, {20, 469, 40, 22}, "歌手："},
    {"编辑框_歌手", nullptr, {59, 469, 161, 22}, ""},
    {"透明标签_歌曲", nullptr, {230, 469, 40, 22}, "歌曲："},
    {"编辑框_歌曲", nullptr, {269, 469, 209, 22}, ""},
    {"透明标签_专辑", nullptr, {20, 502, 40, 22}, "专辑："},
    {"编辑框_专辑", nullptr, {59, 502, 161, 22}, ""},
    {"透明标签_编辑人", nullptr, {230, 502, 49, 22}, "编辑人："},
    {"编辑框_编辑人", nullptr, {286, 502, 192, 22}, ""},
    {"状态条_编辑状态", nullptr, {0, 523, 499, 20}, nullptr},
    {"图片框_开", nullptr, {490, 524, 27, 27}, nullptr},
    {"图片框_声音控制", nullptr, {7, 531, 24, 24}, nullptr},
    {"分组框_声音控制", nullptr, {35, 525, 453, 39}, "声音控制"},
    {"标签_右声道1", "分组框_声音控制", {16, 14, 36, 16}, "音量："},
    {"滑块条_右声道1", "分组框_声音控制", {55, 15, 359, 16}, nullptr},
    {"标签_右1", "分组框_声音控制", {419, 15, 28, 16}, ""},
    {"分组框1", nullptr, {0, 564, 525, 53}, "支持青禾"},
    {"超级链接框1", "分组框1", {176, 7, 160, 22}, "@作者青禾"},
    {"超级链接框2", "分组框1", {176, 27, 160, 19}, nullptr},
    {"分组框_保存文件", nullptr, {530, 57, 523, 471}, "保存文件    "},
    {"超级列表框1", "分组框_保存文件", {2, 16, 518, 455}, nullptr},
    {"编辑框_歌词预览", nullptr, {532, 88, 523, 373}, ""},
    {"编辑框_青禾歌词编辑器", nullptr, {1078, 76, 480, 40}, "青禾歌词编辑器 — 写歌词就这么简单"},
    {"图片框_关闭", nullptr, {1562, 80, 32, 32}, nullptr},
    {"标签_歌词预览左", nullptr, {1064, 26, 265, 96}, nullptr},
    {"标签_歌词预览右", nullptr, {1329, 26, 265, 96}, nullptr},
    {"标签_软件说明", nullptr, {1056, 0, 530, 568}, nullptr},
    {"标签_关于软件", nullptr, {1590, 0, 530, 583}, nullptr},
    {"分组框_配置个性签名", nullptr, {1100, 150, 248, 152}, "个性签名"},
    {"编辑框_个性签名", "分组框_配置个性签名", {15, 23, 216, 80}, ""},
    {"按钮_个性签名", "分组框_配置个性签名", {191, 112, 40, 24}, "确定"},
    {"按钮_关闭", "分组框_配置个性签名", {144, 113, 40, 24}, "关闭"},
    {"标签_同步播放", nullptr, {20, 720, 32, 16}, nullptr},
};

}  // namespace designlayout

// Readable rectangles in test failures.
inline void PrintTo(const QRect& rect, std::ostream* out) {
  *out << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height();
}
