#!/usr/bin/python3
"""Validates JSON Resume files against the official schema.json with Debian's python3-jsonschema,
checking the forms the official validator checks as well (e-mail addresses, URIs with the
pattern it uses, dates). Prints one line per problem; exits 1 when any file is invalid.

    validate_json_resume.py SCHEMA FILE...
"""

import json
import re
import sys

import jsonschema

# The URI pattern of the validator the schema's package ships (npm jsonschema).
URI = re.compile(r"^[a-zA-Z][a-zA-Z0-9+,.-]*:[^\s]*$")


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    checker = jsonschema.FormatChecker()
    checker.checks("uri")(lambda value: not isinstance(value, str) or bool(URI.match(value)))
    validator = jsonschema.Draft7Validator(schema, format_checker=checker)
    failed = 0
    for path in sys.argv[2:]:
        with open(path, encoding="utf-8") as f:
            document = json.load(f)
        for error in validator.iter_errors(document):
            where = "/" + "/".join(str(p) for p in error.absolute_path)
            print(f"{path}: {where}: {error.message}")
            failed = 1
    return failed


if __name__ == "__main__":
    sys.exit(main())
