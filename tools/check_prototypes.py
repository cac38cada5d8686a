#!/usr/bin/env python3
"""Checks every statement of the 25 exports against the public header.

include/quorix.h states each export's name, result and parameters (name and
type, in order). The .def file adds the ordinals and the stdcall argument
sizes; each host binding declares the exports again in its own language.
This reads them all and fails on any difference of name, result, parameter
count, kind, name or order, and on an ordinal missing, repeated or out of
1..25. The fuzzer and the quorix program call the record builders through
templates over the header's own prototypes (UPAF/record_call.h), so the
compiler holds them to it.

The calling convention is checked per Windows target: on 32-bit Windows every
export and the two list functions the library calls back are stdcall; on
x86-64 there is one convention, which C compilers, Free Pascal, Delphi and
.NET use whatever keyword a declaration carries, while JNA must not be asked
for stdcall there. CONVENTIONS says how each binding states it.

A binding is one line of BINDINGS: its file and the syntax of its
declarations ("c" and "java" for `result name(type param, ...)`, "pascal" for
`function name(param, ...: Type; ...): Result`). TYPES says which of the
header's kinds each binding type may stand for.

usage: check_prototypes.py <source root>
"""
import re
import sys
from pathlib import Path

BINDINGS = [
    ("bindings/pascal/quorix.pas", "pascal"),
    ("bindings/dotnet/Quorix.cs", "c"),
    ("bindings/java/src/quorix/Exports.java", "java"),
]

# The header's parameter and result types, by kind.
HEADER_KINDS = {
    "quorix_text": "text",
    "double": "real",
    "int32_t": "integer",
    "quorix_slot": "slot",
    "char **": "text out",
    "double *": "real out",
    "const quorix_text *": "text array",
    "const quorix_string_list *": "list",
    "quorix_bool": "boolean",
    "void": "nothing",
}

# What a binding's type may stand for. A pointer-sized handle in C# (IntPtr)
# or Java (Pointer) carries any of the pointer kinds.
POINTERS = {"text", "text array", "list"}
TYPES = {
    # Pascal
    "PText": {"text"}, "PTextVar": {"text out"}, "PTextArray": {"text array"},
    "PHostList": {"list"}, "PReal": {"real out"}, "TSlot": {"slot"}, "TResult": {"boolean"},
    "Integer": {"integer"}, "Int32": {"integer"}, "LongInt": {"integer"},
    "Double": {"real"},
    # C#
    "IntPtr": POINTERS, "ref IntPtr": {"text out"}, "ref double": {"real out"},
    "uint": {"slot"}, "int": {"integer"}, "double": {"real"}, "byte": {"boolean"},
    "void": {"nothing"},
}
# Java binds every pointer as a Pointer and a character slot as an int (Java has
# no unsigned 32-bit type); a result is one byte, as in C#.
JAVA_TYPES = {
    "Pointer": POINTERS | {"text out", "real out"}, "int": {"integer", "slot"},
    "double": {"real"}, "byte": {"boolean"}, "void": {"nothing"},
}


def strip_comments(text, syntax):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    if syntax == "pascal":
        text = re.sub(r"\{.*?\}", " ", text, flags=re.S)
        text = re.sub(r"\(\*.*?\*\)", " ", text, flags=re.S)
    return text


def header_exports(path):
    text = strip_comments(path.read_text(encoding="cp1252"), "c")
    exports = {}
    for m in re.finditer(r"QUORIX_API\s+(\w+)\s+QUORIX_CALL\s+(quorix_\w+)\s*\(([^)]*)\)", text):
        params = []
        for p in m.group(3).split(","):
            p = " ".join(p.split())
            pm = re.fullmatch(r"(.*?)\s*(\w+)", p)
            type_ = re.sub(r"\s*\*", " *", pm.group(1)).replace("* *", "**").strip()
            if type_ not in HEADER_KINDS:
                sys.exit(f"FAIL: {path}: {m.group(2)}: unknown type {type_!r}")
            params.append((pm.group(2), HEADER_KINDS[type_]))
        exports[m.group(2)] = (HEADER_KINDS[m.group(1)], params)
    return exports


def c_like(text):
    found = {}
    pattern = r"\b(?!return\b)(\w+)\s+(quorix_\w+)\s*\(([^)]*)\)\s*;"
    for m in re.finditer(pattern, text):
        params = []
        for p in filter(None, (" ".join(p.split()) for p in m.group(3).split(","))):
            pm = re.fullmatch(r"(.*?)\s*(\w+)", p)
            params.append((pm.group(2), pm.group(1)))
        found[m.group(2)] = (m.group(1), params)
    return found


def pascal(text):
    found = {}
    pattern = (r"\b(function|procedure)\s+(quorix_\w+)\s*\(([^)]*)\)\s*(?::\s*(\w+))?\s*;"
               r"\s*stdcall\s*;\s*external\s+\w+\s+name\s+'(\w+)'")
    for m in re.finditer(pattern, text, flags=re.I):
        if m.group(5) != m.group(2):
            sys.exit(f"FAIL: {m.group(2)} is bound to the export {m.group(5)}")
        params = []
        for group in filter(None, (g.strip() for g in m.group(3).split(";"))):
            names, type_ = group.rsplit(":", 1)
            params += [(n.strip(), type_.strip()) for n in names.split(",")]
        found[m.group(2)] = (m.group(4) or "void", params)
    return found


TARGETS = {"win32": {"windows": True, "64": False}, "win64": {"windows": True, "64": True}}


def keyword_convention(keyword, target):
    """What a declaration keyword means on a target: x86-64 has one convention."""
    if TARGETS[target]["64"]:
        return "x64"
    return {"__stdcall": "stdcall", "stdcall": "stdcall", "StdCall": "stdcall",
            "cdecl": "cdecl", "Cdecl": "cdecl"}.get(keyword, keyword or "default")


def header_conventions(text):
    m = re.search(r"#if defined\(_WIN32\)\s*#define QUORIX_CALL (\w+)", text)
    calls = len(re.findall(r"QUORIX_API\s+\w+\s+QUORIX_CALL\s+quorix_", text))
    lists = len(re.findall(r"quorix_bool\(QUORIX_CALL \*(?:clear|append)\)", text))
    keyword = m.group(1) if m else None
    return {"exports": keyword if calls == 25 else None,
            "list functions": keyword if lists == 2 else None}


def pascal_conventions(text):
    exports = set(re.findall(r"\)\s*(?::\s*\w+)?\s*;\s*(\w+)\s*;\s*external\s+QuorixLibrary", text))
    lists = {k or "default" for k in re.findall(
        r"TList(?:Clear|Append)\s*=\s*function\([^)]*\)\s*:\s*\w+\s*;\s*(?:(\w+)\s*;)?", text)}
    one = lambda found: found.pop() if len(found) == 1 else "mixed: " + ", ".join(sorted(found))
    return {"exports": one(exports), "list functions": one(lists)}


def csharp_conventions(text):
    call = re.search(r"const CallingConvention Call = CallingConvention\.(\w+);", text)
    exports = {a.replace("Call", call.group(1) if call else "?") for a in re.findall(
        r"\[DllImport\(Library, CallingConvention = (\w+)[^\]]*\]\s*public static extern", text)}
    lists = set(re.findall(r"\[UnmanagedFunctionPointer\(CallingConvention\.(\w+)\)\]\s*"
                           r"delegate byte List(?:Clear|Append)\b", text))
    if len(re.findall(r"DllImport\(Library\b", text)) != 25:
        exports = {"an export without CallingConvention = Call"}
    one = lambda found: found.pop() if len(found) == 1 else "mixed: " + ", ".join(sorted(found))
    return {"exports": one(exports), "list functions": one(lists) if len(lists) else "default"}


def java_conventions(text, target):
    """JNA takes the convention as an option chosen at run time: evaluated here
    for the target's JVM."""
    m = re.search(r"static final boolean STDCALL = ([^;]+);", text)
    register = re.search(r"OPTION_CALLING_CONVENTION,\s*STDCALL \? StdCallLibrary\.STDCALL_CONVENTION"
                         r" : Function\.C_CONVENTION\)", text)
    lists = re.findall(r"Exports\.STDCALL \? \(StdCall(Clear|Append)List\) Paf::\w+ : "
                       r"\((Clear|Append)List\)", text)
    if not (m and register and len(lists) == 2):
        return {"exports": "not chosen by STDCALL", "list functions": "not chosen by STDCALL"}
    facts = TARGETS[target]
    expr = (m.group(1).replace("Platform.isWindows()", str(facts["windows"]))
            .replace("Platform.is64Bit()", str(facts["64"])).replace("&&", " and ")
            .replace("||", " or ").replace("!", " not "))
    stdcall = eval(expr, {"__builtins__": {}})
    convention = "stdcall" if stdcall else ("x64" if facts["64"] else "cdecl")
    return {"exports": convention, "list functions": convention}


def convention_problems(root):
    problems = []
    header = header_conventions((root / "include/quorix.h").read_text(encoding="cp1252"))
    java = "\n".join((root / f).read_text(encoding="utf-8")
                     for f in ("bindings/java/src/quorix/Exports.java", "bindings/java/src/quorix/Paf.java"))
    stated = {
        "bindings/pascal/quorix.pas": pascal_conventions(strip_comments(
            (root / "bindings/pascal/quorix.pas").read_text(encoding="utf-8"), "pascal")),
        "bindings/dotnet/Quorix.cs": csharp_conventions(strip_comments(
            (root / "bindings/dotnet/Quorix.cs").read_text(encoding="utf-8"), "c")),
    }
    for target in TARGETS:
        for what, keyword in header.items():
            if keyword is None:
                if target == "win32":
                    problems.append(f"include/quorix.h: {what} are not all QUORIX_CALL")
                continue
            want = keyword_convention(keyword, target)
            for file, found in stated.items():
                got = keyword_convention(found[what], target)
                if got != want:
                    problems.append(f"{file}: {what} are {got} on {target}, the header's {want}")
            got = java_conventions(java, target)[what]
            if got != want:
                problems.append(f"bindings/java: {what} are {got} on {target}, the header's {want}")
    return problems


def definitions(path):
    ordinals = {}
    for line in path.read_text().splitlines():
        m = re.fullmatch(r"\s*(quorix_\w+)@(\d+)\s+@(\d+)\s*", line)
        if m:
            ordinals[m.group(1)] = (int(m.group(2)), int(m.group(3)))
    return ordinals


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    header = header_exports(root / "include/quorix.h")
    problems = []
    if len(header) != 25:
        problems.append(f"include/quorix.h declares {len(header)} exports, not 25")

    defs = definitions(root / "exports/quorix.def")
    if set(defs) != set(header):
        problems.append(f"exports/quorix.def: names differ: {sorted(set(defs) ^ set(header))}")
    if sorted(o for _, o in defs.values()) != list(range(1, len(defs) + 1)):
        problems.append("exports/quorix.def: ordinals are not 1.." + str(len(defs)) + ", once each")
    for name, (size, _) in defs.items():
        if name in header:
            want = sum(8 if kind == "real" else 4 for _, kind in header[name][1])
            if size != want:
                problems.append(f"exports/quorix.def: {name}@{size}, its parameters take {want}")

    for file, syntax in BINDINGS:
        text = strip_comments((root / file).read_text(encoding="utf-8"), syntax)
        found = (pascal if syntax == "pascal" else c_like)(text)
        types = JAVA_TYPES if syntax == "java" else TYPES
        if set(found) != set(header):
            problems.append(f"{file}: exports differ: {sorted(set(found) ^ set(header))}")
        for name in sorted(set(found) & set(header)):
            result, params = found[name]
            want_result, want = header[name]
            if want_result not in types.get(result, ()):
                problems.append(f"{file}: {name} gives {result}, the header {want_result}")
            if len(params) != len(want):
                problems.append(f"{file}: {name} takes {len(params)} parameters, the header "
                                f"{len(want)}")
                continue
            for i, ((pname, ptype), (wname, wkind)) in enumerate(zip(params, want), 1):
                if pname != wname or wkind not in types.get(ptype, ()):
                    problems.append(f"{file}: {name}, parameter {i}: {ptype} {pname}, "
                                    f"the header's is {wname} ({wkind})")
    problems += convention_problems(root)
    for p in problems:
        print("FAIL: " + p)
    if problems:
        return 1
    print(f"OK: {len(header)} exports; the .def file and {len(BINDINGS)} bindings agree "
          "with include/quorix.h, stdcall on win32 and the one convention on win64")
    return 0


if __name__ == "__main__":
    sys.exit(main())
