#!/usr/bin/env python3
"""The example through the wizard, as a person clicks it: Next, a folder of one's own on the
destination page, Next, Install, Finish (which opens the readme the finish page offers). Runs in
a fresh, throwaway Wine prefix on the display it is given, saves a picture of every page and
prints what it did and where the pictures are.

    run_wizard.py <build-dir> <arch> <setup image> <ui_driver.exe> <screenshot folder>
"""
import shutil
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'tests' / 'rig'))
from wine_prefix import Prefix  # noqa: E402
from wizard import (COMPONENTS, DESTINATION, FINISH, INSTALLING, LANGUAGE, LICENCE,  # noqa: E402
                    NEXT, README, READY, START_MENU, TASKS, WELCOME, Wizard)

BUILD, ARCH, IMAGE, DRIVER, SHOTS = sys.argv[1:6]
FOLDER = 'C:\\Apps\\Hello World'  # the folder typed instead of the one the script proposes
FOLDER_EDIT, OPEN_BOX = 1018, 1004
PICTURE_NAMES = {LANGUAGE: 'language', WELCOME: 'welcome', LICENCE: 'licence', README: 'readme',
                 COMPONENTS: 'components', DESTINATION: 'destination', TASKS: 'tasks',
                 START_MENU: 'start-menu', READY: 'ready'}


def say(text):
    print(f'run: {text}', flush=True)


def main():
    shots = Path(SHOTS)
    shutil.rmtree(shots, ignore_errors=True)
    shots.mkdir(parents=True)
    with Prefix(BUILD, ARCH, 'run-wizard') as prefix:
        # Windows opens text files with Notepad; a fresh Wine prefix knows no program for them.
        subprocess.run([prefix.wine, 'reg', 'add', 'HKCR\\.txt', '/ve', '/d', 'txtfile', '/f'],
                       env=prefix.env, check=True, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        image = prefix.put('hello-setup.exe', Path(IMAGE).read_bytes())
        say('double-clicking C:\\hello-setup.exe (the wizard)')
        with prefix.session(DRIVER, image) as session:
            wizard = Wizard(session)
            number = 0

            def picture(name, window=None):
                nonlocal number
                number += 1
                path = session.screenshot(shots / f'{number}-{name}.png', window)
                say(f'  {path.name}')

            page = wizard.page()
            while page.type not in (INSTALLING, FINISH):
                say(f'page "{page.title}"')
                if page.type == DESTINATION:
                    say(f'  typed the folder {FOLDER}')
                    session.set_text(page.window, FOLDER_EDIT, FOLDER)
                picture(PICTURE_NAMES[page.type], wizard.frame)
                say(f'  pressed {page.button(NEXT)}')
                page = wizard.next()
            if page.type == INSTALLING:
                say(f'page "{page.title}"')
                picture('installing', wizard.frame)
            page = wizard.wait_page(lambda p: p.type == FINISH, 'the finish page', timeout=120)
            say(f'page "{page.title}": {page.text(1003)}')
            picture('finish', wizard.frame)
            opens = page.controls[OPEN_BOX]
            say(f'  "{opens["text"].replace("&", "")}" is ticked; pressed Finish')
            wizard.press('Finish')
            readme = session.wait('readme', '', 60)
            say(f'the readme opened after setup: "{readme["caption"]}"')
            picture('after-setup')
            session.close_window(readme)
            code = session.finish(60)
        say(f'the wizard ended with exit code {code} (0: installed; see README, Exit codes)')
        installed = prefix.drive_c / FOLDER[3:].replace('\\', '/')
        say(f'installed into {FOLDER}:')
        for path in sorted(installed.rglob('*')):
            name = str(path.relative_to(installed)).replace('/', '\\')
            say(f'    {name}\\' if path.is_dir() else f'    {name}  {path.stat().st_size} bytes')
    say(f'the pictures of every page: {shots}')
    return 0 if code == 0 else 1


if __name__ == '__main__':
    sys.exit(main())
