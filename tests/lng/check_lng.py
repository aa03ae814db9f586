#!/usr/bin/env python3
"""Checks Plexa language files (*.lng).

Usage:
    check_lng.py                 checks resources/English.lng and resources/German.lng
    check_lng.py FILE [FILE...]  checks each file; with two or more, every further file is
                                 compared with the first (same keys, same placeholders)

Each file must:
  - begin with the UTF-8 byte-order mark and be valid UTF-8;
  - end every line with CR LF (no lone CR or LF), each line short enough for the
    add-in's 4,096-byte read buffer;
  - have well-formed section headers and "name = value" entries, every value in double
    quotes with each inner double quote doubled, and only the escapes \\n \\t \\\\ \\";
  - carry a [version] section (signature "Orvin.LangLngFile", langid, lang) and a [Plexa]
    section whose globals and forms name sections present in the file, without dumpforms;
  - give a text for every key the add-in looks up, with the placeholders the add-in fills;
  - give dialog entries of the form control[(index)][.property] with a known property.

Exit status: 0 when every file is clean, 1 otherwise (each problem is printed as
FILE:LINE: message).
"""

import os
import re
import sys

SIGNATURE = "Orvin.LangLngFile"
SECTION = "Plexa"
BOM = b"\xef\xbb\xbf"
BUFFER_SIZE = 4096

# The keys the add-in looks up in the text table.
TEXT_KEYS = """
LID_BTN_INSERT_FULL_NAME LID_BTN_OPEN_DRAFTS LID_BTN_OPEN_DRAFTS_TIP LID_BTN_OPTIONS
LID_BTN_OPTIONS_TIP LID_BTN_SEND_ALL LID_BTN_SEND_MODE_ALL LID_BTN_SEND_MODE_ALL_TIP
LID_BTN_SEND_MODE_SEP LID_BTN_SEND_MODE_SEP_GR_TIP LID_BTN_SEND_MODE_SEP_TIP LID_BTN_SEND_SEP
LID_BTN_SEP_GROUPING LID_CAPTION_ABOUT LID_CAPTION_BCC LID_CAPTION_CC LID_CAPTION_EXISTINGDL
LID_CAPTION_NEWDL LID_CAPTION_NEWDL_FROMFOLDER LID_CAPTION_OPTIONS LID_CAPTION_SENDNOW
LID_CAPTION_TO LID_CAP_CONTACT_COMPANY LID_CAP_CONTACT_FIRST_NAME LID_CAP_CONTACT_INITIALS
LID_CAP_CONTACT_LAST_NAME LID_CAP_CONTACT_MIDDLE_NAME LID_CAP_CONTACT_NICKNAME
LID_CONTACT_COMPANY LID_CONTACT_EMPTYPROPERTY LID_CONTACT_FIRST_NAME LID_CONTACT_FULLNAME
LID_CONTACT_INITIALS LID_CONTACT_LAST_NAME LID_CONTACT_MIDDLE_NAME LID_CONTACT_NICKNAME
LID_CONTACT_NOT_FOUND LID_DEF_FIRSTNAME LID_DEF_FULLNAME LID_DEF_NICKNAME LID_FLAG_BLUE
LID_FLAG_FOLLOWUP LID_FLAG_GREEN LID_FLAG_ORANGE LID_FLAG_PURPLE LID_FLAG_RED LID_FLAG_YELLOW
LID_MENU_CAPTION LID_MNU_INSERT_TIP LID_MNU_SEND_MODE LID_PROGRESS_STAGE1 LID_PROGRESS_STAGE2
LID_PROGRESS_STAGE3 LID_PROMPT_BAD_RECIPIENTS LID_PROMPT_CHOOSE_DL LID_PROMPT_DL_NOT_SAVED LID_TITLE_DL_NOT_SAVED
LID_PROMPT_LARGE_RECIPIENTS_DL LID_PROMPT_LARGE_RECIPIENTS_M LID_PROMPT_NORECIPIENTS
LID_PROMPT_NO_RECIPIENTS LID_PROMPT_PROGRESS_CANCEL LID_PROMPT_SENDNOW_MESSAGE
LID_PROMPT_SEND_INCOMPLETE LID_PROMPT_SEND_OR_SAVE_MAILS LID_PROMPT_VALIDATE_MESSAGE1 LID_PROMPT_VALIDATE_MESSAGE2
LID_TITLE_CHOOSE_DL LID_TITLE_LARGE_RECIPIENTS LID_TITLE_MAIL LID_TITLE_NORECIPIENTS
LID_TITLE_SENDNOW_MESSAGE LID_TOOLBAR_NAME LID_TOOLTIP_BCC LID_TOOLTIP_CC
LID_TOOLTIP_EXISTINGDL LID_TOOLTIP_NEWDL LID_TOOLTIP_NEWDL_FROMFOLDER LID_TOOLTIP_SENDNOW
LID_TOOLTIP_TO LID_UNTITLED
RID_E_BTN_ABOUT RID_E_BTN_BCC RID_E_BTN_BCC_TT RID_E_BTN_CACHED_ACTION RID_E_BTN_CC
RID_E_BTN_CC_TT RID_E_BTN_EXISTING_DL RID_E_BTN_EXISTING_DL_SHORT RID_E_BTN_EXISTING_DL_TT
RID_E_BTN_HELP RID_E_BTN_NEW_DL RID_E_BTN_NEW_DL_FROM_FOLDER RID_E_BTN_NEW_DL_FROM_FOLDER_SHORT
RID_E_BTN_NEW_DL_FROM_FOLDER_TT RID_E_BTN_NEW_DL_SHORT RID_E_BTN_NEW_DL_TT RID_E_BTN_OPTIONS
RID_E_BTN_SEND_NOW RID_E_BTN_SEND_NOW_TT RID_E_BTN_TO RID_E_BTN_TO_TT RID_E_GRP
RID_E_GRP_CACHED_ACTION RID_E_GRP_DL RID_E_GRP_DRAFTS RID_E_GRP_EMAIL RID_E_GRP_MISC RID_E_TAB
""".split()

# The keys the add-in looks up with arguments, and the placeholders they must carry, in order.
# Every other key is looked up without arguments: a "%" in it stays as written.
FORMATTED_KEYS = {
    "LID_TITLE_MAIL": "s",  # the message subject
    "LID_PROMPT_SEND_OR_SAVE_MAILS": "d",  # the number of e-mails
    "LID_PROMPT_SEND_INCOMPLETE": "ddd",  # e-mails sent, kept in Drafts, queued
    "LID_BTN_SEND_MODE_SEP_GR_TIP": "d",  # recipients per group
    "LID_CONTACT_EMPTYPROPERTY": "s",  # the recipient's name
    "LID_CONTACT_NOT_FOUND": "s",  # the recipient's name
    "LID_PROMPT_VALIDATE_MESSAGE1": "s",  # the placeholder token
    "LID_PROMPT_VALIDATE_MESSAGE2": "s",  # the property name
    "LID_PROGRESS_STAGE1": "dd",  # current value, maximum
    "LID_PROGRESS_STAGE2": "dd",
    "LID_PROGRESS_STAGE3": "dd",
}

# The placeholder tokens: they must differ from each other.
TOKEN_KEYS = [
    "LID_CONTACT_FULLNAME", "LID_CONTACT_FIRST_NAME", "LID_CONTACT_MIDDLE_NAME",
    "LID_CONTACT_LAST_NAME", "LID_CONTACT_INITIALS", "LID_CONTACT_NICKNAME",
    "LID_CONTACT_COMPANY",
]

DIALOG_PROPERTIES = {
    "caption", "left", "top", "width", "height", "dleft", "dtop", "dwidth", "dheight",
    "tooltiptext", "picture", "x1", "y1", "x2", "y2",
}
CONTROL_RE = re.compile(r"^([A-Za-z_][A-Za-z0-9_]*)(\(\d+\))?$")
ESCAPES = {"n", "t", "\\", '"'}


class Entry:
    def __init__(self, section, name, value, line):
        self.section = section  # lower case
        self.name = name  # as written
        self.value = value  # the stored text (doubled quotes reduced)
        self.line = line


class LngFile:
    """One language file, read the way the add-in reads it."""

    def __init__(self, path):
        self.path = path
        self.errors = []
        self.sections = {}  # lower-case name -> (name as written, header line)
        self.entries = {}  # lower-case section -> {lower-case key: Entry}
        self.order = []  # lower-case section names in file order

    def error(self, line, message):
        where = f"{self.path}:{line}" if line else self.path
        self.errors.append(f"{where}: {message}")

    # ---- reading -------------------------------------------------------------------------

    def read(self):
        try:
            with open(self.path, "rb") as f:
                data = f.read()
        except OSError as e:
            self.error(0, f"cannot be read: {e.strerror}")
            return False
        if not data.startswith(BOM):
            self.error(1, "does not begin with the UTF-8 byte-order mark (EF BB BF)")
        else:
            data = data[len(BOM):]
        try:
            text = data.decode("utf-8")
        except UnicodeDecodeError as e:
            self.error(0, f"is not valid UTF-8 (byte {e.start + len(BOM)})")
            return False
        self.check_line_ends(data)
        lines = re.split(r"\r\n|\r|\n", text)
        if lines and lines[-1] == "":
            lines.pop()
        current = None
        for number, raw in enumerate(lines, start=1):
            current = self.read_line(number, raw, current)
        return True

    def check_line_ends(self, data):
        number = 1
        start = 0
        for i, byte in enumerate(data):
            if byte == 0x0A:
                if i == 0 or data[i - 1] != 0x0D:
                    self.error(number, "line ends with LF alone; lines must end with CR LF")
                if i + 1 - start > BUFFER_SIZE:
                    self.error(number, f"line is longer than {BUFFER_SIZE} bytes")
                number += 1
                start = i + 1
            elif byte == 0x0D and (i + 1 == len(data) or data[i + 1] != 0x0A):
                self.error(number, "line ends with CR alone; lines must end with CR LF")
        if data and not data.endswith(b"\r\n"):
            self.error(number, "the last line does not end with CR LF")

    def read_line(self, number, raw, current):
        line = raw.strip(" \t")
        if not line or line[0] in ";'":
            return current
        if line[0] == "[":
            return self.read_header(number, line, current)
        if current is None:
            self.error(number, "entry outside any section")
            return current
        self.read_entry(number, line, current)
        return current

    def read_header(self, number, line, current):
        close = line.find("]", 1)
        if close < 0:
            self.error(number, "section header without ']'")
            return None
        name = line[1:close]
        if not name:
            self.error(number, "empty section name")
            return None
        rest = line[close + 1:].strip(" \t")
        if rest and rest[0] not in ";'":
            self.error(number, f"'{rest}' after the section header is not a comment")
        key = name.lower()
        if key in self.sections:
            self.error(number, f"section [{name}] appears twice (first on line "
                               f"{self.sections[key][1]}); the add-in reads only the first")
            return None
        self.sections[key] = (name, number)
        self.entries[key] = {}
        self.order.append(key)
        return key

    def read_entry(self, number, line, section):
        eq = line.find("=")
        if eq < 0:
            self.error(number, "'=' is missing")
            return
        name = line[:eq].strip(" \t")
        rest = line[eq + 1:]
        if not name:
            self.error(number, "the entry has no name")
            return
        # The value ends at the first ";" or "'" outside double quotes.
        inside = False
        end = len(rest)
        for i, ch in enumerate(rest):
            if ch == '"':
                inside = not inside
            elif not inside and ch in ";'":
                end = i
                break
        value = rest[:end].strip(" \t")
        if not value:
            self.error(number, f"'{name}' has no value")
            return
        if len(value) < 2 or value[0] != '"' or value[-1] != '"':
            self.error(number, f"the value of '{name}' is not enclosed in double quotes")
            return
        body = value[1:-1]
        i = 0
        stored = []
        while i < len(body):
            ch = body[i]
            if ch == '"':
                if i + 1 < len(body) and body[i + 1] == '"':
                    stored.append('"')
                    i += 2
                    continue
                self.error(number, f"the value of '{name}' holds a double quote that is not "
                                   "doubled")
                return
            stored.append(ch)
            i += 1
        text = "".join(stored)
        table = self.entries[section]
        if name.lower() in table:
            self.error(number, f"'{name}' repeats (first on line {table[name.lower()].line}); "
                               "the first definition wins")
            return
        table[name.lower()] = Entry(section, name, text, number)
        self.check_escapes(number, name, text)

    def check_escapes(self, number, name, text):
        i = text.find("\\")
        while i >= 0:
            c = text[i + 1:i + 2]
            if c.lower() not in ESCAPES or c == "":
                self.error(number, f"'{name}' has the unknown escape '\\{c}' (write a backslash "
                                   "as \\\\)")
                i = text.find("\\", i + 1)
            else:
                i = text.find("\\", i + 2)

    # ---- content -------------------------------------------------------------------------

    def value(self, section, key):
        entry = self.entries.get(section.lower(), {}).get(key.lower())
        return entry.value if entry else None

    def list_value(self, key):
        raw = self.value(SECTION, key)
        if raw is None:
            return []
        return [part.strip(" \t") for part in raw.split(",")]

    def globals(self):
        return self.list_value("globals")

    def forms(self):
        return self.list_value("forms")

    def text_entries(self):
        """The text table: every entry of every section listed under globals."""
        table = {}
        for name in self.globals():
            for key, entry in self.entries.get(f"{SECTION}.{name}".lower(), {}).items():
                if key in table:
                    self.error(entry.line, f"'{entry.name}' is already defined in "
                                           f"[{SECTION}.{table[key].section}] on line "
                                           f"{table[key].line}; the first definition wins")
                    continue
                table[key] = entry
        return table

    def dialog_entries(self):
        """(dialog, entry key) -> Entry for every section listed under forms."""
        result = {}
        for name in self.forms():
            for key, entry in self.entries.get(f"{SECTION}.{name}".lower(), {}).items():
                result[(name.lower(), key)] = entry
        return result

    def check_content(self):
        self.check_version()
        self.check_plexa_section()
        table = self.text_entries()
        for key in TEXT_KEYS:
            entry = table.get(key.lower())
            if entry is None:
                self.error(0, f"no text for {key}, one of the keys the add-in looks up")
            elif not entry.value.strip():
                self.error(entry.line, f"the text of {key} is empty")
        for key, entry in table.items():
            self.check_percent(entry, key.upper())
        self.check_tokens(table)
        for (_, _), entry in self.dialog_entries().items():
            self.check_dialog_entry(entry)

    def check_version(self):
        if "version" not in self.sections:
            self.error(0, "no [version] section")
            return
        signature = self.value("version", "signature")
        if signature != SIGNATURE:
            self.error(self.sections["version"][1],
                       f"[version] signature must be exactly \"{SIGNATURE}\", found "
                       f"{signature!r}")
        for key in ("langid", "lang"):
            if not (self.value("version", key) or "").strip():
                self.error(self.sections["version"][1], f"[version] {key} is missing or empty")

    def check_plexa_section(self):
        if SECTION.lower() not in self.sections:
            self.error(0, f"no [{SECTION}] section")
            return
        line = self.sections[SECTION.lower()][1]
        if self.value(SECTION, "dumpforms") is not None:
            self.error(self.entries[SECTION.lower()]["dumpforms"].line,
                       "dumpforms switches the dialog dump on; a shipped file must not carry it")
        listed = set()
        for kind, names in (("globals", self.globals()), ("forms", self.forms())):
            if not names or names == [""]:
                self.error(line, f"[{SECTION}] {kind} is missing or empty")
                continue
            for name in names:
                if not name:
                    self.error(line, f"[{SECTION}] {kind} holds an empty name")
                    continue
                section = f"{SECTION}.{name}".lower()
                if section in listed:
                    self.error(line, f"[{SECTION}] lists {name} twice")
                listed.add(section)
                if section not in self.sections:
                    self.error(line, f"[{SECTION}] {kind} names {name}, but there is no "
                                     f"[{SECTION}.{name}] section")
        for section in self.order:
            if section not in listed and section not in ("version", SECTION.lower()):
                self.error(self.sections[section][1],
                           f"section [{self.sections[section][0]}] is not listed under "
                           f"[{SECTION}] globals or forms, so the add-in never reads it")

    def check_percent(self, entry, key):
        expected = FORMATTED_KEYS.get(key)
        if expected is None:
            if key in TEXT_KEYS and key not in TOKEN_KEYS and re.search(r"%[sd%]", entry.value):
                self.error(entry.line, f"{key} is looked up without arguments, so "
                                       f"'%s', '%d' and '%%' would show as written")
            return
        found = ""
        i = entry.value.find("%")
        while i >= 0:
            c = entry.value[i + 1:i + 2]
            if c in ("s", "d"):
                found += c
            elif c != "%":
                self.error(entry.line, f"{key} is filled with arguments: '%{c}' is not a "
                                       "placeholder (write a percent sign of its own as %%)")
            i = entry.value.find("%", i + 2)
        if found != expected:
            self.error(entry.line, f"{key} must carry the placeholders "
                                   f"{describe(expected)}, found {describe(found)}")

    def check_tokens(self, table):
        seen = {}
        for key in TOKEN_KEYS:
            entry = table.get(key.lower())
            if entry is None:
                continue
            token = entry.value.lower()
            if token in seen:
                self.error(entry.line, f"{key} gives the same token as {seen[token]}")
            seen[token] = key

    def check_dialog_entry(self, entry):
        control, _, prop = entry.name.partition(".")
        prop = prop.lower() if "." in entry.name else "caption"
        if control and not CONTROL_RE.match(control):
            self.error(entry.line, f"'{control}' is not a control name")
        if prop not in DIALOG_PROPERTIES:
            self.error(entry.line, f"'{prop}' is not a property the add-in can set")
        if prop == "picture" and ":" in entry.value:
            self.error(entry.line, "a picture path must be relative to the installation folder")


def placeholders(text):
    """The %s / %d placeholders of a text, in order ('%%' is a literal percent sign)."""
    return "".join(re.findall(r"%(?:%|([sd]))", text)).replace("%", "")


def describe(sequence):
    return " ".join(f"%{c}" for c in sequence) if sequence else "none"


def compare(first, other):
    """Same sections, keys and placeholders in other as in first."""
    problems = []

    def note(message, line=0):
        where = f"{other.path}:{line}" if line else other.path
        problems.append(f"{where}: {message} (compared with {first.path})")

    for kind, a, b in (("globals", first.globals(), other.globals()),
                       ("forms", first.forms(), other.forms())):
        if [x.lower() for x in a] != [x.lower() for x in b]:
            note(f"[{SECTION}] {kind} is \"{','.join(b)}\", expected \"{','.join(a)}\"")

    def pairs(lng):
        result = {}
        for name in lng.globals() + lng.forms():
            section = f"{SECTION}.{name}".lower()
            for key, entry in lng.entries.get(section, {}).items():
                result[(section, key)] = entry
        return result

    a, b = pairs(first), pairs(other)
    for section, key in sorted(set(a) - set(b)):
        note(f"[{first.sections[section][0]}] {a[(section, key)].name} is missing")
    for section, key in sorted(set(b) - set(a)):
        note(f"[{other.sections[section][0]}] {b[(section, key)].name} is not in the first file",
             b[(section, key)].line)
    for pair in sorted(set(a) & set(b)):
        pa, pb = placeholders(a[pair].value), placeholders(b[pair].value)
        if pa != pb:
            note(f"{b[pair].name} carries {describe(pb)}, expected {describe(pa)}", b[pair].line)
    return problems


def main(argv):
    if len(argv) > 1 and argv[1] in ("-h", "--help"):
        print(__doc__)
        return 0
    paths = argv[1:]
    if not paths:
        root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
        paths = [os.path.join(root, "resources", name) for name in ("English.lng", "German.lng")]
    files = []
    problems = []
    for path in paths:
        lng = LngFile(path)
        if lng.read():
            lng.check_content()
        problems += lng.errors
        files.append(lng)
    readable = [f for f in files if f.sections]
    for other in readable[1:]:
        problems += compare(readable[0], other)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} problem(s) in {len(paths)} language file(s)")
        return 1
    print(f"{len(paths)} language file(s) clean")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
