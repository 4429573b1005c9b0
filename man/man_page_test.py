#!/usr/bin/env python3
"""The command line's manual page and its --help list the same options, with the
same arguments, in the same order, and the same exit statuses.

    man_page_test.py CLI MAN_PAGE
"""
import re
import subprocess
import sys
import unittest

CLI, PAGE = sys.argv[1:3]


def help_text():
    return subprocess.run([CLI, '--help'], check=True, capture_output=True, text=True).stdout


def page_sections():
    """The page's roff source cut at its .SH requests: section name -> lines."""
    sections = {}
    name = None
    with open(PAGE, encoding='utf-8') as f:
        for line in f.read().split('\n'):
            if line.startswith('.SH '):
                name = line[4:].strip().strip('"')
                sections[name] = []
            elif name:
                sections[name].append(line)
    return sections


def roff_text(line):
    """The words of a .B/.BI line: the request and roff quoting and escapes gone."""
    words = re.findall(r'"[^"]*"|\S+', line)[1:]
    return ''.join(w.strip('"') for w in words).replace('\\-', '-').strip()


class ManPageTest(unittest.TestCase):
    def test_options_match_help(self):
        in_help = re.findall(r'^  (--\S+(?: \S+)?)  ', help_text(), flags=re.M)
        lines = page_sections()['OPTIONS']
        in_page = [roff_text(lines[i + 1]) for i, line in enumerate(lines) if line == '.TP']
        self.assertGreater(len(in_help), 10)
        self.assertEqual(in_page, in_help)

    def test_exit_statuses_match_help(self):
        statuses = help_text().split('Exit status:')[1]
        in_help = re.findall(r'(?:^|; )(\d) ', ' '.join(statuses.split()))
        lines = page_sections()['EXIT STATUS']
        in_page = [roff_text(lines[i + 1]) for i, line in enumerate(lines) if line == '.TP']
        self.assertEqual(in_page, in_help)
        self.assertEqual(in_help, ['0', '1', '2', '3'])


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
