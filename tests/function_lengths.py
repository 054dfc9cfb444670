"""Every C++ function fits one screen: no definition runs past 80 lines, from
the first line of its head (template line and all) to its closing brace.

    tests/function_lengths.py SOURCE [--most 80] [--list N]

Prints each function over the limit and exits 1 if there is one; --list N
prints the N longest whatever their length. A data table (a brace after '=',
a class's members, an enum) is not a function and is not counted; a lambda
is part of the function it is written in.

The page's script (web/script/*.js) is held to the same 80 lines by ESLint
(web/eslint.config.js), in the web workflow's test page_lint."""

import argparse
import os
import re
import sys

FOLDERS_LEFT_OUT = {"build", ".git", "docs", "node_modules"}


def blanked(source):
    """The source with comments, string and character literals and
    preprocessor lines turned to blanks, every newline kept, so that the
    braces left are the code's and line numbers stay."""
    out = []
    i, n = 0, len(source)
    line_start = True
    while i < n:
        c = source[i]
        if line_start and c == "#":
            # A directive, and its continuation lines.
            while i < n and source[i] != "\n":
                if source[i] == "\\" and i + 1 < n and source[i + 1] == "\n":
                    out.append(" \n")
                    i += 2
                    continue
                out.append(" ")
                i += 1
            continue
        if c == "/" and source.startswith("//", i):
            while i < n and source[i] != "\n":
                out.append(" ")
                i += 1
            continue
        if c == "/" and source.startswith("/*", i):
            end = source.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(re.sub(r"[^\n]", " ", source[i:end]))
            i = end
            continue
        raw = re.match(r'R"([^(\s]*)\(', source[i:i + 20]) if c == "R" else None
        if raw and (i == 0 or not (source[i - 1].isalnum() or source[i - 1] == "_")):
            end = source.find(")" + raw.group(1) + '"', i)
            end = n if end < 0 else end + len(raw.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", source[i:end]))
            i = end
            continue
        # A quote after a digit or a letter is a digit separator (1'000) or
        # part of a prefix; any other starts a literal.
        if c == '"' or (c == "'" and not (i > 0 and source[i - 1].isalnum())):
            j = i + 1
            while j < n and source[j] != c and source[j] != "\n":
                j += 2 if source[j] == "\\" else 1
            out.append('""' if c == '"' else "' '")
            out.append(" " * max(0, min(j, n - 1) - i - 1))
            i = j + 1
            continue
        out.append(c)
        line_start = c == "\n" or (line_start and c in " \t")
        i += 1
    return "".join(out)


def outside_parentheses(head):
    depth, kept = 0, []
    for c in head:
        if c in "([":
            depth += 1
        elif c in ")]":
            depth -= 1
        elif depth == 0:
            kept.append(c)
    return "".join(kept)


def without_templates(head):
    """The head with `template <...>` lists taken out."""
    while True:
        m = re.search(r"\btemplate\s*<", head)
        if not m:
            return head
        depth, j = 1, m.end()
        while j < len(head) and depth:
            depth += {"<": 1, ">": -1}.get(head[j], 0)
            j += 1
        head = head[:m.start()] + head[j:]


def kind_of(head):
    """What a brace opened at namespace or class scope after `head` opens:
    'scope' (a namespace, a class, an enum), 'data' or 'function'."""
    bare = without_templates(head)
    bare = re.sub(r"^\s*(public|private|protected)\s*:", "", bare)
    if re.match(r"\s*(inline\s+)?namespace\b|\s*extern\s*\"\"", bare):
        return "scope"
    outer = outside_parentheses(bare)
    outer = re.sub(r"operator\s*(==|!=|<=|>=|=)", "operator", outer)
    if re.search(r"(?<![=!<>])=(?!=)", outer):
        return "data"
    if "(" not in bare:
        return "scope" if re.search(r"\b(class|struct|union|enum)\b", bare) else "data"
    before_call = bare[:bare.index("(")]
    if re.search(r"\b(class|struct|union|enum)\b", before_call) and "::" not in before_call:
        return "scope"
    return "function"


def functions(path):
    """(name, first line, last line) of each function defined in `path`."""
    with open(path, encoding="utf-8") as f:
        code = blanked(f.read())
    found = []
    # Each open brace's kind; a function's body is walked over whole.
    stack = []
    head_start = 0
    i, n = 0, len(code)
    while i < n:
        c = code[i]
        if c in ";}":
            if c == "}" and stack:
                stack.pop()
            head_start = i + 1
        elif c == "{":
            head = code[head_start:i]
            # Inside a data table every brace is the table's.
            kind = "data" if stack and stack[-1] == "data" else kind_of(head)
            if kind != "function":
                stack.append(kind)
                head_start = i + 1
                i += 1
                continue
            # The body, and any braces of a constructor's initializers
            # before it: a closing brace followed by ',' or '{' was one.
            j = i
            while True:
                depth = 0
                while True:
                    depth += {"{": 1, "}": -1}.get(code[j], 0)
                    j += 1
                    if depth == 0 or j >= n:
                        break
                rest = code[j:].lstrip()
                if not rest or rest[0] not in ",{":
                    break
                j = code.index("{", j)
            lead = len(head) - len(head.lstrip())
            first = code.count("\n", 0, head_start + lead) + 1
            last = code.count("\n", 0, j - 1) + 1
            name = re.sub(r"\s+", " ", without_templates(head[:head.index("(")]).strip())
            name = name.split(" ")[-1] if name else "?"
            found.append((name, first, last))
            i = j
            head_start = j
            continue
        i += 1
    return found


def sources(root):
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = sorted(s for s in subfolders if s not in FOLDERS_LEFT_OUT)
        for name in sorted(files):
            path = os.path.join(folder, name)
            if name.endswith((".cpp", ".hpp")):
                yield path


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("source")
    parser.add_argument("--most", type=int, default=80)
    parser.add_argument("--list", type=int, default=0, metavar="N")
    args = parser.parse_args()
    every = []
    for path in sources(args.source):
        relative = os.path.relpath(path, args.source)
        for name, first, last in functions(path):
            every.append((last - first + 1, f"{relative}:{first}", name))
    every.sort(key=lambda f: (-f[0], f[1]))
    for length, where, name in every[:args.list]:
        print(f"{length:5} {where} {name}")
    long = [f for f in every if f[0] > args.most]
    for length, where, name in long:
        print(f"{where}: {name} is {length} lines long, more than {args.most}", file=sys.stderr)
    if not every:
        print(f"no function found under {args.source}", file=sys.stderr)
        return 1
    return 1 if long else 0


if __name__ == "__main__":
    sys.exit(main())
