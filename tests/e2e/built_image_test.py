#!/usr/bin/env python3
"""Setup images made by kelvara-build, run by the engine in a fresh Wine prefix: the builder's
records, default texts and requirements reach the engine as written.

    built_image_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <kelvara-build>
"""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, BUILDER = sys.argv[1:6]
SOURCE = Path(__file__).resolve().parents[2]


def build_image(project_text=None, project=None, extra=()):
    """Builds a project (a path, or the text of a project file) with the engine as stub."""
    with tempfile.TemporaryDirectory() as work:
        if project is None:
            project = Path(work) / 'project.toml'
            project.write_text(project_text)
        out = Path(work) / 'setup.exe'
        done = subprocess.run([BUILDER, str(project), '--stub', ENGINE, '-o', str(out), '-q',
                               *extra], capture_output=True, text=True)
        if done.returncode != 0:
            raise AssertionError(f'kelvara-build failed:\n{done.stderr}')
        return out.read_bytes()


class BuiltImage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'built-image')

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def run_image(self, name, data, args=('S',), exit_code=0):
        run = self.prefix.run(DRIVER, self.prefix.put(name, data), list(args))
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.exit_code, exit_code, run.output)
        return [(w['caption'], w['text']) for w in run.windows]

    def test_example_is_accepted_by_the_engine(self):
        image = build_image(project=SOURCE / 'examples' / 'hello' / 'project.toml')
        self.assertEqual(self.run_image('hello-setup.exe', image), [])

    def test_requirement_message_comes_from_the_default_texts(self):
        image = build_image('[product]\nname = "Needs Access"\n\n'
                            '[requirements]\naccess = "97"\n')
        self.assertEqual(self.run_image('needs-access.exe', image, exit_code=1603),
                         [('Needs Access Setup', 'This program needs Microsoft Access 97 or a later '
                           'version.\n\nSetup cannot continue.')])

    def test_project_texts_replace_the_defaults(self):
        image = build_image('[product]\nname = "Custom"\n\n[requirements]\naccess = "2000"\n\n'
                            '[[texts]]\nlanguage = "english"\ntable = "setup-messages"\nitem = 13\n'
                            'text = "Please install %s first."\n')
        self.assertEqual(self.run_image('custom.exe', image, exit_code=1603),
                         [('Custom Setup', 'Please install Microsoft Access 2000 first.')])


if __name__ == '__main__':
    if not Path(BUILDER).exists():
        sys.exit(f'no builder at {BUILDER}: build the host-asan preset first (scripts/build.sh)')
    unittest.main(argv=[sys.argv[0]], verbosity=2)
