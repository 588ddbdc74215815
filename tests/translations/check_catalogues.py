#!/usr/bin/env python3
"""Every shipped catalogue is finished and up to date with its sources.

Usage: check_catalogues.py LUPDATE CATALOGUE_FOLDER BUILD_FOLDER

A catalogue is up to date when lupdate, run over the same sources the build
gives it (the project file CMake writes into a .lupdate folder), neither adds
a message nor drops one. lupdate works on a copy; the catalogues stay as they
are. Exits with 1 and one line per fault on standard error.
"""

import json
import pathlib
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree


def messages(catalogue):
    """(context, source, disambiguation) of every message, and the unfinished ones."""
    found, unfinished = set(), set()
    for context in ElementTree.parse(catalogue).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            key = (name, message.findtext("source"), message.findtext("comment") or "")
            translation = message.find("translation")
            found.add(key)
            if translation is None or translation.get("type") is not None or not (translation.text or "").strip():
                # a numerus translation keeps its forms in children
                if translation is None or translation.find("numerusform") is None:
                    unfinished.add(key)
    return found, unfinished


def projects(build_folder):
    """The lupdate project of each catalogue, by the catalogue's path."""
    by_catalogue = {}
    for project_file in pathlib.Path(build_folder).rglob(".lupdate/*_project.json"):
        project = json.loads(project_file.read_text())
        for catalogue in project.get("translations", []):
            by_catalogue[pathlib.Path(catalogue).resolve()] = project
    return by_catalogue


def refreshed(lupdate, project, catalogue, work_folder):
    """The catalogue as lupdate leaves it today, made in work_folder."""
    copy = pathlib.Path(work_folder) / catalogue.name
    shutil.copyfile(catalogue, copy)
    project = dict(project, translations=[str(copy)])
    project_file = pathlib.Path(work_folder) / (catalogue.stem + "_project.json")
    project_file.write_text(json.dumps(project))
    run = subprocess.run([lupdate, "-silent", "-no-obsolete", "-locations", "none", "-project", str(project_file)],
                         capture_output=True, text=True)
    # lupdate also complains about Qt's own headers; only a failure counts.
    if run.returncode != 0:
        raise RuntimeError(f"lupdate failed on {catalogue.name}:\n{run.stderr}")
    return copy


def faults(lupdate, catalogue, project):
    found, unfinished = messages(catalogue)
    for context, source, _ in sorted(unfinished):
        yield f"{catalogue.name}: not translated: {context}: {source!r}"
    if project is None:
        yield f"{catalogue.name}: no library or program builds this catalogue"
        return
    with tempfile.TemporaryDirectory() as work_folder:
        current, _ = messages(refreshed(lupdate, project, catalogue, work_folder))
    for context, source, _ in sorted(current - found):
        yield f"{catalogue.name}: new in the sources, run its _lupdate target: {context}: {source!r}"
    for context, source, _ in sorted(found - current):
        yield f"{catalogue.name}: gone from the sources, run its _lupdate target: {context}: {source!r}"


def main(lupdate, catalogue_folder, build_folder):
    catalogues = sorted(pathlib.Path(catalogue_folder).glob("*.ts"))
    if not catalogues:
        print(f"no catalogues in {catalogue_folder}", file=sys.stderr)
        return 1
    by_catalogue = projects(build_folder)
    all_faults = []
    for catalogue in catalogues:
        all_faults += faults(lupdate, catalogue, by_catalogue.get(catalogue.resolve()))
    for fault in all_faults:
        print(fault, file=sys.stderr)
    print(f"{len(catalogues)} catalogues checked, {len(all_faults)} faults")
    return 1 if all_faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
