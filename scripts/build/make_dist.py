#!/usr/bin/env python3
"""Generates the shipped files of dist/: the template SysConfig.ini with the demo
event, the demo roster, the theme and sample pictures and the short sounds.

Everything here is made by this script (ImageMagick draws the pictures, sox makes
the sounds); run it again after changing it and commit what it writes.
"""
import json
import os
import random
import subprocess
import sys

DIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "dist")
DESKTOP_W, DESKTOP_H = 1920, 1080


def gbk_lines(lines):
    return ("\r\n".join(lines) + "\r\n").encode("gbk")


# --- SysConfig.ini ---------------------------------------------------------

# The program's key tables of Config.ini, printed by its own code:
#   build/tools/template_keys > scripts/build/template_keys.json
# The template takes its single keys, their order and defaults, and the 19
# effect keys from there; a key the program renames or adds reaches the
# template the next time this script runs.
KEYS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "template_keys.json")
with open(KEYS, encoding="utf-8") as keys_file:
    TABLES = json.load(keys_file)
CONFIG_KEYS = [tuple(row) for row in TABLES["Config.ini"]]
EFFECT_KEYS = [(key, int(value)) for key, value in TABLES["effect"]]  # in their stored order, main window's defaults


def stored(section, values=None):
    """The section's keys of the program's table in its order, each at its
    default unless the demo gives it a value."""
    values = dict(values or {})
    lines = [f"[{section}]"]
    for s, key, default in CONFIG_KEYS:
        if s == section:
            lines.append(f"{key}={values.pop(key, default)}")
    if values:
        sys.exit(f"the program's key table has no {section}/{list(values)}")
    return lines + [""]


def key(section, name, value):
    """One key of the program's table, in a section the template fills further."""
    if not any(s == section and k == name for s, k, _ in CONFIG_KEYS):
        sys.exit(f"the program's key table has no {section}/{name}")
    return f"{name}={value}"


def check_keys(lines):
    """Every key of the program's table stands in the template."""
    present, section = set(), None
    for line in lines:
        if line.startswith("["):
            section = line[1:-1]
        elif "=" in line:
            present.add((section, line.split("=", 1)[0]))
    missing = [(s, k) for s, k, _ in CONFIG_KEYS if (s, k) not in present]
    if missing:
        sys.exit(f"the template lacks keys of the program's table: {missing[:5]}")
    return lines

YELLOW, WHITE, RED, GOLD = 65535, 16777215, 255, 55295  # 0x00BBGGRR
NAVY = 11 + 29 * 256 + 77 * 65536  # RGB 11, 29, 77


def effect(prefix, **changes):
    values = dict(EFFECT_KEYS)
    for key, value in changes.items():
        values[key.replace("_", ".")] = value
    return [f"{prefix}{key}={values[key]}" for key, _ in EFFECT_KEYS]


def label(name, color, size, face, charset=134, x=None, y=None, caption=None, **fx):
    lines = [f"[{name}]", f"Font.Color={color}", f"Font.Size={size}", f"Font.Name={face}",
             f"Font.Charset={charset}"]
    lines += effect("Effect.FontEffect.", **fx)
    lines += ["Left=100" if name == "TimeShow" else f"Left={x if x is not None else DESKTOP_W // 2}",
              f"Top={DESKTOP_H // 2}" if name == "TimeShow" else f"Top={y if y is not None else DESKTOP_H // 2}",
              f"X坐标={x if x is not None else DESKTOP_W // 2}", f"Y坐标={y if y is not None else DESKTOP_H // 2}"]
    if caption is not None:
        lines.append(caption)
    return lines + [""]


# The positions and frame fonts the auto layout gives this template on a
# 1920 x 1080 desktop, printed by the program's own layout code:
#   build/tools/template_layout dist > scripts/build/template_layout.ini
# Merged into the template, so that a first start and a start afresh (Config.ini,
# LuckName.txt and log.txt deleted) show the same clean screen.
LAYOUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "template_layout.ini")


def read_layout(path):
    layout, section = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("["):
                section = line[1:-1]
                layout.setdefault(section, {})
            elif "=" in line:
                key, value = line.split("=", 1)
                layout[section][key] = value
    return layout


def apply_layout(lines, layout):
    out, section, used = [], None, set()
    for line in lines:
        if line.startswith("["):
            section = line[1:-1]
        elif "=" in line:
            key = line.split("=", 1)[0]
            if key in layout.get(section, {}):
                line = f"{key}={layout[section][key]}"
                used.add((section, key))
        out.append(line)
    missing = [(s, k) for s, keys in layout.items() for k in keys if (s, k) not in used]
    if missing:
        sys.exit(f"template_layout.ini names keys the template lacks: {missing[:5]}")
    return out


def sysconfig():
    out = []
    out += stored("程序运行情况", {"首次运行": 1})
    out += stored("窗体样式")
    out += stored("背景")
    out += stored("TitlePic")
    # The demo rolls at the fastest base speed (0 -> 120 ms); the loader's default of 100 is 2120 ms.
    out += stored("界面设置", {"滚动速度": 0, "隐私_check": 0, "重复中奖": 0})
    grad = dict(Gradual_Enabled=1, Gradual_StartColor=WHITE, Gradual_EndColor=YELLOW, Gradual_Style=3,
                Shadow_Enabled=1, Blur=0)
    out += label("MainTitle", YELLOW, 48, "黑体", caption=key("MainTitle", "主标题", "星辰科技2027年会"), **grad)
    out += label("SecTitle", YELLOW, 36, "黑体", caption=key("SecTitle", "副标题", "幸运大抽奖"), Shadow_Enabled=1,
                 Blur=0)
    out += label("ActionHint", WHITE, 26, "黑体", Shadow_Enabled=1, Blur=0)
    out += label("PrizeName", WHITE, 24, "黑体", Shadow_Enabled=1, Blur=0)
    out += label("HonorGuest", WHITE, 24, "黑体", Shadow_Enabled=1, Blur=0)
    out += label("RateProgress", WHITE, 22, "黑体", Shadow_Enabled=1, Blur=0)
    out += label("ItemName", YELLOW, 40, "黑体", Shadow_Enabled=1, Blur=0)
    out += label("TimeShow", YELLOW, 48, "黑体", **grad)
    out += ["[PrizePic]", f"X坐标={DESKTOP_W // 2}", f"Y坐标={DESKTOP_H // 2}", key("PrizePic", "W", 300),
            key("PrizePic", "H", 300), ""]
    out += ["[S1]", f"Font.Color={YELLOW}", "Font.Size=20", "Font.Name=黑体", ""]
    for n in range(1, 31):
        for k in range(1, 31):
            out += [f"[{n}_L{k}]", f"X坐标={DESKTOP_W // 2}", f"Y坐标={DESKTOP_H // 2}", ""]
        out += [f"[{n}_S1]", f"Font.Color={YELLOW}", "Font.Size=30", "Font.Name=黑体", ""]
        for k in range(1, 31):
            # W and H: the pictures' size in this layout (0: the "图片抽奖" size).
            out += [f"[{n}_P{k}]", "X坐标=500", "Y坐标=500"] + (["W=0", "H=0"] if k == 1 else []) + [""]
    # Picture draw never draws more than 30 at once; the auto layout lays out 31 too.
    for k in range(1, 31):
        out += [f"[31_P{k}]", "X坐标=500", "Y坐标=500"] + (["W=0", "H=0"] if k == 1 else []) + [""]
    out += ["[L31]", f"X坐标={DESKTOP_W // 2}", f"Y坐标={DESKTOP_H // 2}", key("L31", "RowCountPcs", 5), ""]
    out += ["[31_S1]", f"Font.Color={YELLOW}", "Font.Size=30", "Font.Name=黑体", ""]
    out += ["[NamePic1]", f"X={DESKTOP_W // 2}", f"Y={DESKTOP_H // 2}", ""]
    out += ["[图片抽奖]", "Width=200", "Height=250", "ShowName=1", f"Font.Color={WHITE}", "Font.Size=20",
            "Font.Name=黑体", ""]
    awards = [
        ("特等奖", 1, 1, "1", "笔记本电脑", "董事长", "prize1.png"),
        ("一等奖", 3, 3, "3", "智能手机", "总经理", "exp.jpg"),
        ("二等奖", 5, 5, "5", "平板电脑", "副总经理", "exp.jpg"),
        ("三等奖", 10, 5, "5+5", "蓝牙音箱", "财务总监", "exp.jpg"),
        ("幸运奖", 20, 10, "10+10", "购物卡", "人事经理", "exp.jpg"),
    ]
    out += ["[奖项设置]"]
    for serial, (name, places, batch, plan, prize, guest, picture) in enumerate(awards, start=1):
        out.append(f"{serial}={serial}|{name}|{places}|{batch}|{plan}|{prize}|{guest}|{picture}")
    out += ["", "[弃奖]", "", "[补奖]", ""]
    out += stored("内定设置") + stored("内定设置B")
    out += stored("奖项分组设定") + ["[奖项分组]", ""]
    sounds = [("背景音乐", "背景音乐.wav"), ("抽奖开始", "抽奖开始.wav"), ("抽奖停止", "抽奖停止.wav"),
              ("中奖结果展示", "结果展示.wav"), ("节目排名展示", "结果展示.wav"),
              ("节目评分明细", "结果展示.wav"), ("评委打分变动", "抽奖停止.wav")]
    out += ["[音效设置]"] + [f"{event}={name}" for event, name in sounds]
    out += [f"{event}_check=1" for event, _ in sounds] + [""]
    for section, size, y in (("ShowMainTitle", 48, 80), ("ShowSecTitle", 36, 170)):
        out += [f"[{section}]", f"Font.Color={YELLOW}", f"Font.Size={size}", "Font.Name=黑体", "Font.Charset=134"]
        out += effect("Effect.FontEffect.", Shadow_Enabled=1, Blur=0)
        out += ["Show=1", f"X坐标={DESKTOP_W // 2 - 300}", f"Y坐标={y}", ""]
    out += ["[ShowLogoTitle]", "Show=1", "X坐标=50", "Y坐标=50", ""]
    # Every display stands on a dark picture and writes light text on it (a
    # contrast well above 4.5:1); the winners' list has a deep blue box of its own.
    out += ["[NameText]", "Text.Font.Name=黑体", "Text.Font.Charset=134", f"Text.Font.Color={YELLOW}",
            "Text.Font.Size=28", f"Text.BackColor={NAVY}"]
    out += effect("Text.FontEffect.", Shadow_Enabled=1, Blur=0)
    out += ["Height=600", "ScrollDelay=30", "ScrollStep=1", "Top=300", f"Left={DESKTOP_W // 2 - 500}", ""]
    out += ["[NameList]", "每行个数=5", ""] + stored("ShowTitlePic", {"Picture": "浩瀚星空.jpg"})
    out += ["[ShowPrizeName]", f"Font.Color={YELLOW}", "Font.Size=40", "Font.Name=黑体", "Font.Charset=134"]
    out += effect("Effect.FontEffect.", Shadow_Enabled=1, Blur=0)
    out += ["X坐标=420", "Y坐标=580", "speed=2000", f"img_left={(DESKTOP_W - 409) // 2}", "img_top=260", "img_w=409",
            "img_h=265", "Show1=1", "Show2=1", "Show3=1", key("ShowPrizeName", "Picture", "舞台幕布1.jpg"), ""]
    out += scoring_displays()
    out += scoring_setup()
    return out


# The demo's programme scoring: a few programmes and judges, and a scoring file
# with some scores given and a current programme, so that the ranking display
# (F8) and the score details display (F7) show something on the first try.
PROGRAMMES = [("开场舞《盛世欢歌》", "市场部"), ("小品《年终总结》", "财务部"), ("歌曲《追梦人》", "研发部"),
              ("魔术《心想事成》", "行政部"), ("合唱《明天会更好》", "管理层")]
JUDGES = ["李明", "王芳", "陈静", "赵强", "周敏"]
SCORES = [[9.5, 9, 8.5, 9.2, 8.8], [8, 8.5, 9, 7.5, 8.2], [9.6, 9.4, 9.8, 9.1, 9.5], [8.8, 9, 8.6, "", ""],
          ["", "", "", "", ""]]


def scoring_setup():
    out = ["[节目设置]"]
    out += [f"{k}={k}|{name}|{who}" for k, (name, who) in enumerate(PROGRAMMES, start=1)]
    out += ["去最高分=1", "去最低分=1", "导出方式=0", "文件地址=", "满分=10", "", "[评委设置]"]
    out += [f"{k}={name}" for k, name in enumerate(JUDGES, start=1)]
    return out + [""]


def scoring_file():
    out = ["注意事项:1. 以下内容除等号后面内容可修改外,其它内容请勿修改,否则会造成数据抓取不到;",
           "         2. 分数请直接填在对应的等号后面,注意必须是数字;",
           "         3. 要展示打分明细，请修改当前节目编号;",
           "         4. 修改完毕请注意保存,保存后数据才会展示在界面中;", "-" * 92, "",
           "[评分数据]", "数据格式=0", "", "[当前节目]", "编号=4", ""]
    for k, (name, _) in enumerate(PROGRAMMES, start=1):
        out.append(f"[{k}.{name}]")
        out += [f"{judge}={score}" for judge, score in zip(JUDGES, SCORES[k - 1])]
        out.append("")
    return out


def scoring_displays():
    # The ranking display: gold bars, white scores and names, dark ranks on the
    # bars, sizes a projector shows from the back of the hall.
    out = ["[评分展示]", "柱状高度=500", "柱状宽度=120", "间隔宽度=40", "动画展示=1",
           key("评分展示", "背景图片", "浩瀚星空.jpg"),
           f"柱状颜色={GOLD}", f"得分颜色={WHITE}", "得分大小=20", "得分字体=黑体",
           f"节目颜色={WHITE}", "节目大小=16", "节目字体=黑体", "排名颜色=0", "排名大小=20", "排名字体=Verdana",
           "副标题=节目评分排行榜", ""]
    out += caption_section("ProShowSecTitle", YELLOW, 32, 130, DESKTOP_W // 2 - 160)
    # The score details display: the lines above and below the judges' photos.
    out += ["[评委显示设置]", "每行个数=0", "", "[评委照片]", "Width=200", "Height=250", "",
            "[评委姓名]", f"Font.Color={WHITE}", "Font.Size=20", "Font.Name=黑体", "Show=1", "",
            "[评分细节]", "副标题=评分明细", key("评分细节", "背景图片", "宇宙梦幻.jpg"), ""]
    out += caption_section("ScoreEvSecTitle", YELLOW, 32, 120, DESKTOP_W // 2 - 80)
    out += caption_section("ScoreProNameTitel", WHITE, 30, 200, DESKTOP_W // 2 - 400)
    out += caption_section("ScoreResult", YELLOW, 32, DESKTOP_H - 100, DESKTOP_W // 2 - 300)
    return out


def caption_section(name, color, size, top, left):
    lines = [f"[{name}]", f"Font.Color={color}", f"Font.Size={size}", "Font.Name=黑体", "Font.Charset=134"]
    lines += effect("Effect.FontEffect.", Shadow_Enabled=1, Blur=0)
    return lines + [f"Top={top}", f"Left={left}", ""]


# --- NameList.txt ----------------------------------------------------------

SURNAMES = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤"
GIVEN = "伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超秀兰霞平刚桂英华玉萍红娥玲芬芳燕彩春菊兰凤洁梅琳素云莲真环雪荣爱妹霞香月莺媛艳瑞凡佳嘉琼勤珍贞莉桂娣叶璧璐娅琦晶妍茜秋珊莎锦黛青倩婷姣婉娴瑾颖露瑶怡婵雁蓓纨仪荷丹蓉眉君琴蕊薇菁梦岚苑婕馨瑗琰韵融园艺咏卿聪澜纯毓悦昭冰爽琬茗羽希宁欣飘育滢馥筠柔竹霭凝晓欢霄枫芸菲寒伊亚宜可姬舒影荔枝思丽"


def roster():
    rng = random.Random(2027)
    names, seen = [], set()
    while len(names) < 120:
        surname = rng.choice(SURNAMES)
        given = rng.choice(GIVEN) if len(names) % 5 == 0 else rng.choice(GIVEN) + rng.choice(GIVEN)
        name = surname + given
        if name not in seen:
            seen.add(name)
            names.append(name)
    return names


# --- pictures and sounds ---------------------------------------------------

def run(*args):
    subprocess.run(args, check=True)


def dots(rng, count, colours, rmax, w=DESKTOP_W, h=DESKTOP_H, avoid_centre=False):
    commands = []
    for _ in range(count):
        x, y = rng.randrange(w), rng.randrange(h)
        if avoid_centre and abs(x - w / 2) < w * 0.3 and abs(y - h / 2) < h * 0.3:
            continue
        r = rng.uniform(1, rmax)
        commands += ["-fill", rng.choice(colours), "-draw", f"circle {x},{y} {x + r:.1f},{y}"]
    return commands


def theme(path, gradient, rng, decorations, extra=()):
    run("convert", "-size", f"{DESKTOP_W}x{DESKTOP_H}", gradient, *extra, *decorations,
        "-quality", "85", path)


def pictures():
    rng = random.Random(7)
    bp = os.path.join(DIST, "backpic")
    os.makedirs(bp, exist_ok=True)
    theme(os.path.join(bp, "贺岁.jpg"), "radial-gradient:#d8261f-#6e0a0a", rng,
          dots(rng, 160, ["#ffd34d", "#ffb300", "#ffe9a0"], 9, avoid_centre=True))
    theme(os.path.join(bp, "欢庆.jpg"), "gradient:#c1121f-#780000", rng,
          dots(rng, 400, ["#ffd60a", "#ffc300", "#ff8fab", "#ffffff"], 6, avoid_centre=True))
    theme(os.path.join(bp, "婚礼.jpg"), "radial-gradient:#fff0f5-#e8a0b8", rng,
          dots(rng, 120, ["#ffffff", "#ffd1dc", "#f7c6d0"], 14, avoid_centre=True))
    theme(os.path.join(bp, "宇宙梦幻.jpg"), "radial-gradient:#4b1d7a-#0b0320", rng,
          dots(rng, 700, ["#ffffff", "#c8b6ff", "#bde0fe"], 2.2))
    theme(os.path.join(bp, "浩瀚星空.jpg"), "gradient:#0b1d4d-#000814", rng,
          dots(rng, 900, ["#ffffff", "#e0e7ff", "#fff3b0"], 1.8))
    curtain = []
    for i in range(0, DESKTOP_W, 64):
        curtain += ["-fill", "#00000033", "-draw", f"rectangle {i},0 {i + 24},{DESKTOP_H}"]
    theme(os.path.join(bp, "舞台幕布1.jpg"), "gradient:#a4161a-#4a0a0c", rng,
          curtain + ["-fill", "#ffd70055", "-draw", f"rectangle 0,0 {DESKTOP_W},40"])
    theme(os.path.join(bp, "淡雅蓝.jpg"), "gradient:#5fa8d3-#1b4965", rng,
          dots(rng, 90, ["#ffffff33", "#cae9ff44"], 40, avoid_centre=True))
    theme(os.path.join(bp, "圣诞.jpg"), "gradient:#1b4332-#081c15", rng,
          dots(rng, 600, ["#ffffff", "#f1faee", "#e63946"], 3.5))

    img = os.path.join(DIST, "image")
    os.makedirs(img, exist_ok=True)
    run("convert", "-size", "160x160", "xc:none", "-fill", "#ffd60a", "-stroke", "#b8860b", "-strokewidth", "6",
        "-draw", "circle 80,80 80,8", "-fill", "#c1121f", "-stroke", "none",
        "-draw", "polygon 80,30 92,66 130,66 99,88 111,125 80,103 49,125 61,88 30,66 68,66",
        os.path.join(img, "logo.png"))
    run("convert", "-size", "200x250", "gradient:#adb5bd-#6c757d", "-fill", "#e9ecef",
        "-draw", "circle 100,95 100,45", "-draw", "ellipse 100,250 80,75 180,360",
        "-quality", "90", os.path.join(img, "sample.jpg"))

    prize = os.path.join(DIST, "prize")
    os.makedirs(prize, exist_ok=True)
    run("convert", "-size", "400x300", "gradient:#ffffff-#dee2e6", "-fill", "#c1121f",
        "-draw", "rectangle 120,110 280,250", "-fill", "#ffd60a", "-draw", "rectangle 190,110 210,250",
        "-draw", "rectangle 120,170 280,190", "-fill", "#e63946",
        "-draw", "ellipse 170,95 30,18 0,360", "-draw", "ellipse 230,95 30,18 0,360",
        "-quality", "90", os.path.join(prize, "exp.jpg"))
    run("convert", "-size", "400x300", "xc:none", "-fill", "#343a40", "-draw", "roundrectangle 70,40 330,210 12,12",
        "-fill", "#4cc9f0", "-draw", "rectangle 85,55 315,195", "-fill", "#495057",
        "-draw", "polygon 40,215 360,215 380,250 20,250", os.path.join(prize, "prize1.png"))
    for folder in ("photo", "data", "manager"):
        os.makedirs(os.path.join(DIST, folder), exist_ok=True)


def sounds():
    music = os.path.join(DIST, "music")
    os.makedirs(music, exist_ok=True)
    fmt = ["-r", "22050", "-c", "1", "-b", "16"]
    # A calm loop of a major chord, a drum-roll like loop, a bright chime and a short fanfare.
    run("sox", "-n", *fmt, os.path.join(music, "背景音乐.wav"), "synth", "8", "sine", "261.6", "sine", "329.6",
        "sine", "392", "tremolo", "0.5", "40", "fade", "q", "0.5", "8", "0.5", "vol", "0.4")
    run("sox", "-n", *fmt, os.path.join(music, "抽奖开始.wav"), "synth", "2", "brownnoise", "tremolo", "18", "90",
        "lowpass", "900", "vol", "0.6")
    run("sox", "-n", *fmt, os.path.join(music, "抽奖停止.wav"), "synth", "1.5", "pluck", "1046.5", "pluck", "1318.5",
        "fade", "0", "1.5", "1.2", "vol", "0.7")
    run("sox", "-n", *fmt, os.path.join(music, "结果展示.wav"), "synth", "0.3", "square", "523.3", "synth", "0.3",
        "square", "659.3", ":", "synth", "0.3", "square", "784", ":", "synth", "1.2", "square", "1046.5",
        "fade", "0", "1.2", "0.8", "vol", "0.3")


def main():
    os.makedirs(DIST, exist_ok=True)
    with open(os.path.join(DIST, "SysConfig.ini"), "wb") as f:
        f.write(gbk_lines(apply_layout(check_keys(sysconfig()), read_layout(LAYOUT))))
    # The picture draw's roster holds the same demo people, without photos: each
    # shows the sample picture until the operator imports photos.
    os.makedirs(os.path.join(DIST, "data"), exist_ok=True)
    with open(os.path.join(DIST, "data", "评分文件.txt"), "wb") as f:
        f.write(gbk_lines(scoring_file()))
    for roster_file in ("NameList.txt", "PicList.txt"):
        with open(os.path.join(DIST, roster_file), "wb") as f:
            f.write(gbk_lines(roster()))
    if "--text-only" not in sys.argv:
        pictures()
        sounds()


if __name__ == "__main__":
    main()
