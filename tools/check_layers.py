#!/usr/bin/env python3
"""Checks the source tree against its layer list.

  check_layers.py includes <src folder> [layers file]
      Every quoted #include must name a header of the file's own layer or of a layer listed
      before it, and a core file must not include a screen one.
  check_layers.py forms <src folder>
      No file under a forms/ folder runs SQL: it names no QSqlQuery, RunSql, OpenSelect or
      QueryScalar and holds no SQL statement in a string literal.

Prints one line per offence and exits with 1 when there is any.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def read_layers(path):
    layers = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            folder, side = line.split()
            layers.append((folder, side))
    return layers


def layer_of(rel, layers):
    """Index of the layer holding the path rel (relative to src), the longest folder matching."""
    best, best_len = None, -1
    for i, (folder, _) in enumerate(layers):
        if (rel == folder or rel.startswith(folder + "/")) and len(folder) > best_len:
            best, best_len = i, len(folder)
    return best


def source_files(root):
    for dirpath, _, names in os.walk(root):
        for name in sorted(names):
            if name.endswith((".h", ".cpp", ".inc")):
                yield os.path.join(dirpath, name)


def check_includes(root, layers_file):
    layers = read_layers(layers_file)
    offences = []
    for path in source_files(root):
        rel = os.path.relpath(path, root).replace(os.sep, "/")
        own = layer_of(rel, layers)
        if own is None:
            offences.append(f"{rel}: in no layer of {os.path.basename(layers_file)}")
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            for number, text in enumerate(f, 1):
                m = INCLUDE.match(text)
                if not m:
                    continue
                name = m.group(1)
                beside = os.path.normpath(os.path.join(os.path.dirname(path), name))
                if os.path.exists(beside):
                    target_rel = os.path.relpath(beside, root).replace(os.sep, "/")
                elif os.path.exists(os.path.join(root, name)):
                    target_rel = os.path.normpath(name).replace(os.sep, "/")
                else:
                    continue  # generated (moc, ui) or outside the tree
                if target_rel.startswith(".."):
                    offences.append(f"{rel}:{number}: includes {name} from outside the source tree")
                    continue
                target = layer_of(target_rel, layers)
                if target is None:
                    continue
                own_folder, own_side = layers[own]
                target_folder, target_side = layers[target]
                if target > own:
                    offences.append(f"{rel}:{number}: layer {own_folder} includes {name} "
                                    f"of the later layer {target_folder}")
                elif own_side == "core" and target_side == "screen":
                    offences.append(f"{rel}:{number}: core layer {own_folder} includes {name} "
                                    f"of the screen layer {target_folder}")
    return offences


FORBIDDEN_NAMES = re.compile(r"\b(QSqlQuery|RunSql|OpenSelect|QueryScalar\w*|OpenQuery|SetQuerySql)\b")
STRING = re.compile(r'"((?:[^"\\]|\\.)*)"')
SQL = re.compile(r"^\s*(select|insert\s+into|update\s+\w+\s+set|delete\s+from|create\s+table|"
                 r"drop\s+table|alter\s+table)\b|\b(from|where|order\s+by|group\s+by)\s+[a-z_]+\w*"
                 r"(\s*=|\s+(where|order|group|inner|left|join|as)\b|\s*,)"
                 r"|\b[a-z]{1,3}\.([a-z]+_[a-z0-9_]+|id)\b", re.IGNORECASE)


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


def check_forms(root):
    offences = []
    for path in source_files(root):
        rel = os.path.relpath(path, root).replace(os.sep, "/")
        if "/forms/" not in "/" + rel:
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            lines = strip_comments(f.read()).split("\n")
        for number, text in enumerate(lines, 1):
            m = FORBIDDEN_NAMES.search(text)
            if m:
                offences.append(f"{rel}:{number}: a form names {m.group(1)}")
                continue
            for literal in STRING.findall(text):
                if SQL.search(literal):
                    offences.append(f"{rel}:{number}: SQL in a form: \"{literal}\"")
                    break
    return offences


def main(argv):
    if len(argv) < 3 or argv[1] not in ("includes", "forms"):
        print(__doc__)
        return 2
    root = argv[2]
    if argv[1] == "includes":
        layers_file = argv[3] if len(argv) > 3 else os.path.join(root, "layers.txt")
        offences = check_includes(root, layers_file)
    else:
        offences = check_forms(root)
    for line in offences:
        print(line)
    return 1 if offences else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
