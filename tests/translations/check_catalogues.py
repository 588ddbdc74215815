#!/usr/bin/env python3
"""Every shipped catalogue is finished and up to date with its sources.

Usage: check_catalogues.py LUPDATE CMAKE PROJECT_SCRIPT CATALOGUE_FOLDER BUILD_FOLDER

A catalogue is up to date when lupdate, run over the same sources the build
gives it, neither adds a message nor drops one. CMake writes those sources
into a .lupdate folder when it generates the build; PROJECT_SCRIPT, Qt's
own, turns them into lupdate's project file, as the _lupdate targets do, so
the check needs none of those targets built. lupdate works on a copy; the catalogues stay as they
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


def projects(cmake, project_script, build_folder, work_folder):
    """The lupdate project of each catalogue, by the catalogue's path."""
    by_catalogue = {}
    for sources_file in pathlib.Path(build_folder).rglob(".lupdate/*_project.cmake"):
        project_file = pathlib.Path(work_folder) / (sources_file.stem + ".json")
        subprocess.run([cmake, f"-DIN_FILE={sources_file}", f"-DOUT_FILE={project_file}", "-P", project_script],
                       check=True)
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


def main(lupdate, cmake, project_script, catalogue_folder, build_folder):
    catalogues = sorted(pathlib.Path(catalogue_folder).glob("*.ts"))
    if not catalogues:
        print(f"no catalogues in {catalogue_folder}", file=sys.stderr)
        return 1
    with tempfile.TemporaryDirectory() as work_folder:
        by_catalogue = projects(cmake, project_script, build_folder, work_folder)
    all_faults = []
    for catalogue in catalogues:
        all_faults += faults(lupdate, catalogue, by_catalogue.get(catalogue.resolve()))
    for fault in all_faults:
        print(fault, file=sys.stderr)
    print(f"{len(catalogues)} catalogues checked, {len(all_faults)} faults")
    return 1 if all_faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
