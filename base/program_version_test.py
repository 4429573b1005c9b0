#!/usr/bin/env python3
"""Every place that names the program's version names the one of the top
project() call: both programs' --version, the AppStream metadata's release and
the manual pages' title lines, which also give the metadata's release date.

    program_version_test.py VERSION BUILD_DIR CLI [DESKTOP]
"""
import os
import shlex
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ET

VERSION, BUILD, CLI = sys.argv[1:4]
DESKTOP = sys.argv[4] if len(sys.argv) > 4 else None


def title_line(page):
    """The .TH request's fields, roff's quoting and escapes gone."""
    with open(os.path.join(BUILD, 'man', page), encoding='utf-8') as f:
        line = next(l for l in f if l.startswith('.TH '))
    return [field.replace('\\-', '-') for field in shlex.split(line)[1:]]


class ProgramVersionTest(unittest.TestCase):
    def test_both_programs_print_their_name_and_version_on_one_line(self):
        # No display: the desktop program must answer before it needs one.
        env = {k: v for k, v in os.environ.items()
               if k not in ('DISPLAY', 'WAYLAND_DISPLAY', 'QT_QPA_PLATFORM')}
        programs = [('orvane-zozivi-cli', CLI)] + ([('orvane-zozivi', DESKTOP)] if DESKTOP else [])
        for name, path in programs:
            run = subprocess.run([path, '--version'], env=env, capture_output=True, text=True,
                                 timeout=30)
            self.assertEqual((run.returncode, run.stdout, run.stderr),
                             (0, f'{name} {VERSION}\n', ''), name)

    def test_metadata_and_manual_pages_name_the_same_release(self):
        metainfo = os.path.join(BUILD, 'data', 'com.halvick.OrvaneZozivi.metainfo.xml')
        releases = ET.parse(metainfo).getroot().findall('./releases/release')
        self.assertEqual(len(releases), 1)
        self.assertEqual(releases[0].get('version'), VERSION)
        date = releases[0].get('date')
        self.assertRegex(date, r'^\d{4}-\d\d-\d\d$')
        for page, title in (('orvane-zozivi.1', 'ORVANE-ZOZIVI'),
                            ('orvane-zozivi-cli.1', 'ORVANE-ZOZIVI-CLI')):
            self.assertEqual(title_line(page),
                             [title, '1', date, f'Orvane Zozivi {VERSION}', 'User Commands'], page)


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
