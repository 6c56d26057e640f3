#!/usr/bin/env python3
"""Fills one package-manifest template: every @NAME@ becomes its value, written
as the file's format needs it (a JSON string's inside, or a YAML scalar that
reads back as the same text).

    fill.py TEMPLATE OUTPUT NAME=VALUE... NAME=@FILE...   (@FILE: the file's text)
"""
import json
import re
import sys

import yaml


def yaml_scalar(value, indent):
    if "\n" in value:
        pad = " " * indent
        return "|-\n" + "\n".join(pad + line if line else "" for line in value.split("\n"))
    try:
        if yaml.safe_load(value) == value and value.strip() == value:
            return value
    except yaml.YAMLError:
        pass
    return json.dumps(value, ensure_ascii=False)


def main(template, output, pairs):
    values = {}
    for pair in pairs:
        name, value = pair.split("=", 1)
        if value.startswith("@"):
            with open(value[1:], encoding="utf-8") as f:
                value = f.read().strip("\n")
        values[name] = value
    with open(template, encoding="utf-8") as f:
        text = f.read()
    is_yaml = template.endswith(".yaml")

    def put(match):
        name = match.group(1)
        if name not in values:
            sys.exit(f"fill.py: {template} needs a value for @{name}@")
        value = values[name]
        return yaml_scalar(value, 2) if is_yaml else json.dumps(value, ensure_ascii=False)[1:-1]

    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write(re.sub(r"@([A-Z0-9_]+)@", put, text))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
