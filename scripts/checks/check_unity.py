#!/usr/bin/env python3
"""Checks that the sources of one library can be compiled as one file.

The test command builds the libraries as unity builds: the sources of a library
are included a few at a time into one file. Two sources that each define a
file-local function of the same name (in an unnamed namespace, or static) then
meet in one file: with the same signature the build fails, but with different
parameters they become overloads, and a call in one file may silently take the
other file's function. Such names must differ.

Every folder under src/ is one library. Prints each name defined file-locally in
more than one source of a folder and exits 1 when there is one.
"""
import collections
import os
import re
import sys

LITERALS_AND_COMMENTS = re.compile(
    r'//[^\n]*|/\*.*?\*/|R"([^(]*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)
PREPROCESSOR = re.compile(r'^\s*#(?:[^\n]*\\\n)*[^\n]*', re.M)
FUNCTION_HEAD = re.compile(r'([A-Za-z_]\w*)\s*\([^()]*(?:\([^()]*\)[^()]*)*\)\s*(?:const\s*)?(?:noexcept\s*)?'
                           r'(?:->\s*[\w:<>,\s\*&]+)?$')
NAMESPACE_HEAD = re.compile(r'\bnamespace\s*([\w:]*)\s*$')
NOT_FUNCTIONS = {"if", "for", "while", "switch", "catch", "return", "sizeof", "alignof", "decltype"}


def blank_out(match):
    return re.sub(r'[^\n]', ' ', match.group(0))


def file_local_functions(text):
    """Names of the functions the source defines with internal linkage."""
    text = LITERALS_AND_COMMENTS.sub(blank_out, text)
    text = PREPROCESSOR.sub(blank_out, text)
    names = set()
    scopes = []  # for each open brace: "anonymous", "namespace" or "other"
    statement_start = 0
    for position, char in enumerate(text):
        if char == ';':
            statement_start = position + 1
        elif char == '}':
            if scopes:
                scopes.pop()
            statement_start = position + 1
        elif char == '{':
            head = text[statement_start:position].strip()
            namespace = NAMESPACE_HEAD.search(head)
            if namespace:
                scopes.append("anonymous" if namespace.group(1) == "" else "namespace")
            else:
                at_namespace_level = all(scope != "other" for scope in scopes)
                function = FUNCTION_HEAD.search(head) if at_namespace_level else None
                member = function and head[:function.start(1)].rstrip().endswith("::")
                if function and function.group(1) not in NOT_FUNCTIONS and not member:
                    local = "anonymous" in scopes or re.match(r'(?:inline\s+)?static\b', head)
                    if local:
                        names.add(function.group(1))
                scopes.append("other")
            statement_start = position + 1
    return names


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src")
    clashes = 0
    for folder, _, files in sorted(os.walk(root)):
        owners = collections.defaultdict(list)
        for name in sorted(files):
            if name.endswith(".cpp"):
                with open(os.path.join(folder, name), encoding="utf-8") as source:
                    for function in file_local_functions(source.read()):
                        owners[function].append(name)
        for function, sources in sorted(owners.items()):
            if len(sources) > 1:
                clashes += 1
                print(f"{os.path.relpath(folder, root)}: {function}() is file-local in {', '.join(sources)}")
    if clashes:
        print("Give each its own name (or share one definition): the unity build puts these files together.")
    return 1 if clashes else 0


if __name__ == "__main__":
    sys.exit(main())
