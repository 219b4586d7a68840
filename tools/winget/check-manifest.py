#!/usr/bin/env python3
"""Checks a multi-file winget manifest against the schemas beside this script.

    tools/winget/check-manifest.py <manifest folder> <setup.exe>

Each YAML file is read as JSON data and validated against the schema its
ManifestType names; the three files must name the same package and version,
and the installer's InstallerSha256 must be setup.exe's. Exit 0 when all
holds; 1 with one line per fault otherwise."""
import hashlib
import json
import os
import sys

import jsonschema
import yaml

SCHEMAS = {"version": "manifest.version", "installer": "manifest.installer", "defaultLocale": "manifest.defaultLocale"}


def main(folder, setup):
    here = os.path.dirname(os.path.abspath(__file__))
    faults, seen = [], {}
    files = sorted(f for f in os.listdir(folder) if f.endswith(".yaml"))
    for name in files:
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            data = json.loads(json.dumps(yaml.safe_load(f)))  # what a JSON validator of the YAML sees
        kind = data.get("ManifestType") if isinstance(data, dict) else None
        if kind not in SCHEMAS or kind in seen:
            faults.append(f"{name}: ManifestType {kind!r} is not one of {sorted(SCHEMAS)} or comes twice")
            continue
        seen[kind] = data
        path = os.path.join(here, f"{SCHEMAS[kind]}.{data.get('ManifestVersion')}.json")
        if not os.path.exists(path):
            faults.append(f"{name}: no schema for ManifestVersion {data.get('ManifestVersion')!r}")
            continue
        with open(path, encoding="utf-8") as f:
            schema = json.load(f)
        validator = jsonschema.Draft7Validator(schema)  # each schema holds its own definitions
        for error in sorted(validator.iter_errors(data), key=str):
            where = "/".join(str(p) for p in error.absolute_path) or "(top)"
            faults.append(f"{name}: {where}: {error.message}")
    if sorted(seen) != sorted(SCHEMAS):
        faults.append(f"the manifest needs one file of each type {sorted(SCHEMAS)}, has {sorted(seen)}")
    ids = {(d.get("PackageIdentifier"), d.get("PackageVersion")) for d in seen.values()}
    if len(ids) > 1:
        faults.append(f"the files name different packages or versions: {sorted(map(str, ids))}")
    with open(setup, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    for installer in seen.get("installer", {}).get("Installers", []) or []:
        if str(installer.get("InstallerSha256", "")).lower() != digest:
            faults.append(f"InstallerSha256 {installer.get('InstallerSha256')} is not {setup}'s ({digest})")
    for fault in faults:
        print(f"winget manifest: {fault}")
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
