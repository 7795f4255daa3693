#!/usr/bin/env python3
"""Signed setup images in a fresh Wine prefix, with a certificate authority and a code-signing
certificate made here by openssl and signatures made by osslsigncode: an image signed by the
builder's --sign, its installed uninstaller signed too, both round trips as an unsigned image
makes them; the same image damaged in its package or with bytes after its signature; an image
signed by hand after the build; and an unsigned image of this builder on the engine as it was
before images could be signed.

    signing_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <kelvara-build>
                    <engine-before-signing.exe>
"""
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, dump_image, source_folder  # noqa: E402
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, BUILDER, ENGINE_BEFORE = sys.argv[1:7]
DAMAGED = ('Kelvara', 'The installer file is damaged!')


def run(*command, cwd=None):
    done = subprocess.run([str(c) for c in command], cwd=cwd, capture_output=True, text=True,
                          timeout=120)
    if done.returncode != 0:
        raise AssertionError(f'{command[0]} failed: {done.stdout}{done.stderr}')
    return done.stdout


def make_certificates(folder):
    """A certificate authority and a code-signing certificate it issued: (ca.pem, cert, key)."""
    folder.mkdir(parents=True, exist_ok=True)
    (folder / 'code.ext').write_text('basicConstraints=CA:FALSE\nkeyUsage=digitalSignature\n'
                                     'extendedKeyUsage=codeSigning\n')
    run('openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days', '2', '-subj',
        '/CN=Kelvara Test CA', '-keyout', 'ca.key', '-out', 'ca.pem', cwd=folder)
    run('openssl', 'req', '-newkey', 'rsa:2048', '-nodes', '-subj', '/CN=Kelvara Test Vendor',
        '-keyout', 'code.key', '-out', 'code.csr', cwd=folder)
    run('openssl', 'x509', '-req', '-in', 'code.csr', '-CA', 'ca.pem', '-CAkey', 'ca.key',
        '-CAcreateserial', '-days', '2', '-extfile', 'code.ext', '-out', 'code.pem', cwd=folder)
    return folder / 'ca.pem', folder / 'code.pem', folder / 'code.key'


def signature_verified(ca, path):
    """True when osslsigncode accepts the file's signature against the test authority."""
    done = subprocess.run(['osslsigncode', 'verify', '-CAfile', str(ca), '-in', str(path)],
                          capture_output=True, text=True, timeout=120)
    return done.returncode == 0, done.stdout + done.stderr


class SignedImages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'signing')
        cls.work = Path(tempfile.mkdtemp(prefix='signing-', dir=cls.prefix.path.parent))
        cls.ca, cert, key = make_certificates(cls.work / 'certificates')
        cls.sign = (f'osslsigncode sign -certs {cert} -key {key} -h sha256 -n "Kelvara Test" '
                    '-in {in} -out {out}')
        cls.source = source_folder(cls.work / 'source', {
            'tool.txt': b'the signed product\r\n',
            'docs/guide.txt': b'how to use it\r\n' * 500,
        })

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()
        shutil.rmtree(cls.work, ignore_errors=True)

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def project(self, name):
        return Project(f'{name} 1.0', short_name=name,
                       variables={'InstallPath': f'C:\\Signed\\{name}'},
                       files=[FileGroup(self.source)], uninstaller=True)

    def build(self, name, stub=ENGINE, sign=True):
        folder = self.work / name
        folder.mkdir(parents=True, exist_ok=True)
        project = self.project(name)
        if not sign:
            return build_image(BUILDER, stub, project, folder)
        from install_project import write_project
        image = folder / 'setup.exe'
        run(BUILDER, write_project(project, folder), '--stub', stub, '-o', image, '-q',
            '--sign', self.sign)
        return image

    def install(self, name, image, exit_code=0):
        """Runs an image (a path, or its bytes) silently."""
        data = image if isinstance(image, bytes) else Path(image).read_bytes()
        path = self.prefix.put(f'images/{name}.exe', data)
        done = self.prefix.run(DRIVER, path, ['S'], timeout=120)
        self.assertFalse(done.timed_out, done.output)
        self.assertEqual(done.exit_code, exit_code, done.output)
        return done

    def assert_round_trip(self, name):
        """The files are there, then the silent uninstaller removes them all."""
        root = f'C:\\Signed\\{name}'
        self.assertEqual(self.host(f'{root}\\tool.txt').read_bytes(), b'the signed product\r\n')
        self.assertTrue(self.host(f'{root}\\docs\\guide.txt').is_file())
        done = self.prefix.run(DRIVER, f'{root}\\uninstall.exe', ['/S'], timeout=120,
                               follow=True, verbatim=True)
        self.assertFalse(done.timed_out, done.output)
        self.assertEqual(done.windows, [], done.output)
        self.assertFalse(self.host(root).exists(), 'the uninstaller removed the installation')

    def test_signed_by_the_builder_with_a_signed_uninstaller(self):
        image = self.build('ByBuilder')
        ok, said = signature_verified(self.ca, image)
        self.assertTrue(ok, said)
        dump = dump_image(BUILDER, image)
        self.assertRegex(dump, r'signature: certificate table at \d+, \d+ bytes, ends the file')
        self.assertIn('checksum: ', dump)
        self.assertNotIn('DIFFERS', dump)
        self.assertIn('uninstaller signature: the stub\'s table at', dump)

        self.assertEqual(self.install('by-builder', image).windows, [])
        uninstaller = self.host('C:\\Signed\\ByBuilder\\uninstall.exe')
        ok, said = signature_verified(self.ca, uninstaller)
        self.assertTrue(ok, f'the installed uninstaller carries its own signature: {said}')
        self.assert_round_trip('ByBuilder')

    def test_damage_inside_and_after_a_signed_image_is_refused(self):
        image = Path(self.build('Damaged')).read_bytes()
        package = int.from_bytes(image[0x20:0x24], 'little')
        flipped = bytearray(image)
        flipped[package + 40] ^= 0x01
        for name, damaged in (('flipped', bytes(flipped)), ('appended', image + b'\0' * 8),
                              ('truncated', image[:-8])):
            done = self.install(f'damaged-{name}', damaged, exit_code=1603)
            self.assertEqual([(w['caption'], w['text']) for w in done.windows], [DAMAGED], name)
            self.assertFalse(self.host('C:\\Signed\\Damaged').exists(), f'{name}: nothing installed')

    def test_signed_by_hand_after_the_build(self):
        unsigned = self.build('ByHand', sign=False)
        self.assertEqual(len(Path(unsigned).read_bytes()) % 8, 0, 'the image ends on 8 bytes')
        signed = unsigned.with_name('signed.exe')
        run('osslsigncode', 'sign', '-certs', self.work / 'certificates' / 'code.pem', '-key',
            self.work / 'certificates' / 'code.key', '-h', 'sha256', '-in', unsigned, '-out',
            signed)
        self.assertEqual(Path(signed).read_bytes()[:len(Path(unsigned).read_bytes())][0x200:],
                         Path(unsigned).read_bytes()[0x200:],
                         'signing appended its table and padded nothing inside the image')
        self.assertEqual(self.install('by-hand', signed).windows, [])
        self.assert_round_trip('ByHand')

    @unittest.skipUnless(ARCH == 'i686', 'the engine before signing is kept as a 32-bit build')
    def test_an_unsigned_image_runs_on_the_engine_before_signing(self):
        image = self.build('Before', stub=ENGINE_BEFORE, sign=False)
        self.assertEqual(self.install('before', image).windows, [])
        self.assert_round_trip('Before')

    def test_a_failing_sign_command_ends_the_build(self):
        folder = self.work / 'failing'
        folder.mkdir(parents=True, exist_ok=True)
        from install_project import write_project
        project_file = write_project(self.project('Failing'), folder)
        image = folder / 'setup.exe'
        image.write_bytes(b'the previous image')
        done = subprocess.run([BUILDER, str(project_file), '--stub', ENGINE, '-o', str(image),
                               '-q', '--sign', 'sh -c "echo no certificate >&2; exit 3" {in}'],
                              capture_output=True, text=True, timeout=120)
        self.assertEqual(done.returncode, 2, done.stderr)
        self.assertIn('no certificate', done.stderr, 'the command\'s own message is shown')
        self.assertIn('signing the uninstaller', done.stderr)
        self.assertEqual(image.read_bytes(), b'the previous image', 'the output is untouched')
        self.assertEqual(sorted(p.name for p in folder.iterdir()), ['project.toml', 'setup.exe'])


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
