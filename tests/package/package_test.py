#!/usr/bin/env python3
"""Builds the Debian package from a build folder and checks it as a user's machine would meet it.

   package_test.py BUILD_DIR APP_ID

The programs and manual pages are brought up to date, CPack makes the package in a scratch
folder, and dpkg-deb shows what it holds: the listed files and nothing else, dependencies on
the Qt 6 libraries and the platform plugins, the version. The package is unpacked into a scratch
root, where the desktop entry and the metainfo must pass their validators, the manual pages
must describe every option, and the programs must report the product version.
"""

import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile

VERSION = "2.0"
PROGRAMS = ["zedezuze", "zedezuze-cli", "zedezuze-sim"]


def Run(command, **options):
    result = subprocess.run(command, capture_output=True, text=True, **options)
    if result.returncode != 0:
        raise AssertionError(
            f"{' '.join(command)} failed ({result.returncode}):\n{result.stdout}{result.stderr}")
    return result.stdout


def Expect(condition, message, failures):
    if not condition:
        failures.append(message)


def main():
    buildDir, appId = sys.argv[1], sys.argv[2]
    for tool in ["cpack", "dpkg-deb", "dpkg-shlibdeps", "desktop-file-validate", "appstreamcli",
                 "help2man"]:
        if shutil.which(tool) is None:
            print(f"{tool} is missing; scripts/install-deps.sh installs it", file=sys.stderr)
            return 1

    Run(["cmake", "--build", buildDir, "--parallel", "2", "--target", *PROGRAMS, "zz_man_pages"])
    failures = []
    with tempfile.TemporaryDirectory(prefix="zz-package-") as scratch:
        Run(["cpack", "-G", "DEB", "--config", os.path.join(buildDir, "CPackConfig.cmake"),
             "-B", scratch])
        packages = [name for name in os.listdir(scratch) if name.endswith(".deb")]
        if len(packages) != 1:
            raise AssertionError(f"expected one package, found {packages}")
        package = os.path.join(scratch, packages[0])
        Expect(re.fullmatch(rf"zedezuze_{re.escape(VERSION)}_[a-z0-9]+\.deb", packages[0]),
               f"package file name {packages[0]}", failures)

        listed = Run(["dpkg-deb", "-c", package])
        files = sorted(line.split()[-1] for line in listed.splitlines()
                       if line.startswith("-") or line.startswith("l"))
        expected = sorted(
            [f"./usr/bin/{program}" for program in PROGRAMS] +
            [f"./usr/share/man/man1/{program}.1.gz" for program in PROGRAMS] +
            [f"./usr/share/applications/{appId}.desktop",
             "./usr/share/icons/hicolor/scalable/apps/zedezuze.svg",
             f"./usr/share/metainfo/{appId}.metainfo.xml",
             "./usr/share/doc/zedezuze/README.md"])
        Expect(files == expected, f"files in the package:\n{files}\nexpected:\n{expected}",
               failures)

        fields = {field: Run(["dpkg-deb", "-f", package, field]).strip()
                  for field in ["Package", "Version", "Depends", "Section"]}
        Expect(fields["Package"] == "zedezuze", f"Package: {fields['Package']}", failures)
        Expect(fields["Version"] == VERSION, f"Version: {fields['Version']}", failures)
        depends = {re.sub(r"\s*\(.*\)", "", item.strip()) for item in fields["Depends"].split(",")}
        for library in ["libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6svg6",
                        "qt6-qpa-plugins", "libc6", "libstdc++6"]:
            Expect(library in depends, f"Depends lacks {library}: {fields['Depends']}", failures)

        root = os.path.join(scratch, "root")
        Run(["dpkg-deb", "-x", package, root])
        share = os.path.join(root, "usr", "share")
        Run(["desktop-file-validate", os.path.join(share, "applications", f"{appId}.desktop")])
        Run(["appstreamcli", "validate", "--no-net",
             os.path.join(share, "metainfo", f"{appId}.metainfo.xml")])
        with open(os.path.join(share, "applications", f"{appId}.desktop")) as entry:
            desktop = entry.read()
        Expect("\nExec=zedezuze\n" in desktop and "\nIcon=zedezuze\n" in desktop,
               "the desktop entry starts zedezuze with its icon", failures)
        with open(os.path.join(share, "icons", "hicolor", "scalable", "apps",
                               "zedezuze.svg")) as icon:
            Expect("<svg" in icon.read(), "the icon is an SVG picture", failures)

        pageOptions = {
            "zedezuze": ["--port", "--baud", "--protocol", "--header", "--replay", "--version"],
            "zedezuze-cli": ["decode", "monitor", "--display", "--bin"],
            "zedezuze-sim": ["--rate", "--device", "--tee"],
        }
        for program, options in pageOptions.items():
            with gzip.open(os.path.join(share, "man", "man1", f"{program}.1.gz"), "rt") as page:
                text = page.read().replace("\\-", "-")
            Expect(re.search(rf'^\.TH {program.upper()} "1" .*"{program} {VERSION}"', text,
                             re.MULTILINE),
                   f"{program}.1 has its title line with the version", failures)
            for option in options:
                Expect(option in text, f"{program}.1 lacks {option}", failures)

            binary = os.path.join(root, "usr", "bin", program)
            version = Run([binary, "--version"]).strip()
            Expect(version == f"{program} {VERSION}", f"{program} --version: {version}",
                   failures)

    for failure in failures:
        print("FAILED:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
