"""The installer's wizard as a test drives it through the UI driver (wine_prefix.Session): the
frame, the page it shows, the frame's buttons and the message boxes it asks with.

    with prefix.session(driver, image) as session:
        wizard = Wizard(session)
        page = wizard.page()                     # Page: title, texts by control id, buttons
        wizard.press('Next >')                   # a frame button, by its label without '&'
        page = wizard.wait_page(lambda p: p.type == INSTALLING)
"""
import time

from wine_prefix import DriverError

BACK, NEXT, CANCEL = 1010, 1011, 1012
FRAME_BUTTONS = (BACK, NEXT, CANCEL)
TITLE = 1001
# The page types (the template numbers of the standard layout).
LANGUAGE, WELCOME, LICENCE, README, COMPONENTS, SCOPE = 129, 130, 131, 132, 133, 134
DESTINATION, TASKS, START_MENU, READY, INSTALLING, FINISH = 135, 136, 137, 138, 139, 140
FILES_IN_USE = 143  # before the Installing page, when programs hold files the run replaces
CHOICE_TREE = 1028  # the components and tasks pages' tree of check boxes
# A control each page type has and the others lack, to tell which page is shown.
_MARKS = [
    (INSTALLING, 1023, 'msctls_progress32'), (DESTINATION, 1013, 'Button'),
    (START_MENU, 1003, 'Button'), (LANGUAGE, 1021, 'ComboBox'), (FINISH, 1006, 'Button'),
]
WS_MINIMIZEBOX = 0x00020000


def label(text):
    """A button's text as the driver presses it: without its '&'."""
    return text.replace('&', '')


class Page:
    """What the frame shows: its caption, the page's controls by id and the frame's buttons by
    id (only those visible count as shown)."""

    def __init__(self, caption, controls, buttons, handle):
        self.caption = caption
        self.controls = controls
        self.buttons = buttons
        self.handle = handle

    @property
    def window(self):
        """The page window, for the session's commands on its controls."""
        return {'handle': self.handle}

    @property
    def title(self):
        return self.controls.get(TITLE, {}).get('text')

    def text(self, control):
        return self.controls[control]['text']

    def shown(self, control):
        return control in self.controls and bool(self.controls[control]['visible'])

    def button(self, button):
        """The frame button's label (without '&') when it is shown and enabled, else None."""
        found = self.buttons.get(button)
        if not found or not found['visible'] or not found['enabled']:
            return None
        return label(found['text'])

    @property
    def type(self):
        """The page type, told by the controls only it has (the simple pages by their title)."""
        # The scope page's two answers are buttons 1003 and 1005 with a text between them; the
        # start menu page's 1004 is a check box.
        if all(self.controls.get(c, {}).get('cls') == cls
               for c, cls in ((1003, 'Button'), (1004, 'Static'), (1005, 'Button'))):
            return SCOPE
        # The programs-in-use page lists them above its two answers (the start menu page's list
        # has check boxes above it instead).
        if (self.controls.get(1019, {}).get('cls') == 'ListBox'
                and self.controls.get(1003, {}).get('cls') == 'Static'):
            return FILES_IN_USE
        # Both pages of choices have the tree; only the components page shows space figures.
        if self.controls.get(CHOICE_TREE, {}).get('cls') == 'SysTreeView32':
            return COMPONENTS if 1007 in self.controls else TASKS
        for page_type, control, cls in _MARKS:
            found = self.controls.get(control)
            if found and found['cls'] == cls:
                return page_type
        if 1017 in self.controls:
            return LICENCE if 1003 in self.controls else README
        return WELCOME if 1006 in self.controls else READY

    def __repr__(self):
        shown = {k: v['text'] for k, v in self.controls.items() if v['visible']}
        return f'Page({self.caption!r}, {shown}, buttons={[self.button(b) for b in FRAME_BUTTONS]})'


class Wizard:
    def __init__(self, session, timeout=60, label='Kelvara'):
        self.session = session
        # The frame is the window with the product label (or the project's own text there).
        self.frame = session.wait('', label, timeout)

    def page(self):
        """The page shown now."""
        everything = self.session.control_list(self.frame)
        pages = [c for c in everything if c['cls'] == '#32770']
        if len(pages) != 1:
            raise DriverError(f'the frame holds {len(pages)} pages: {everything}')
        page = pages[0]
        controls = self.session.controls(page)
        inside = {c['handle'] for c in controls.values()}
        buttons = {c['id']: c for c in everything
                   if c['id'] in FRAME_BUTTONS and c['handle'] not in inside}
        frame = next((w for w in self.session.windows() if w['handle'] == self.frame['handle']),
                     None)
        return Page(frame['caption'] if frame else None, controls, buttons, page['handle'])

    def wait_page(self, condition, what='the page', timeout=60):
        """Waits until condition(page) holds; returns the page."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                page = self.page()
            except DriverError:
                page = None  # between two pages
            if page is not None and condition(page):
                return page
            if time.monotonic() > deadline:
                raise DriverError(f'{what}: not within {timeout} s; last {page}')
            time.sleep(0.1)

    def press(self, button_label):
        self.session.press(self.frame, button_label)

    def next(self):
        """Presses the frame's second button (Next, Yes, Install: whatever its label is) and
        waits until another page is shown (or the wizard has gone)."""
        before = self.page()
        self.press(before.button(NEXT))
        return self._after(before)

    def back(self):
        before = self.page()
        self.press(before.button(BACK))
        return self._after(before)

    def _after(self, before):
        def moved():
            try:
                return self.page().handle != before.handle
            except DriverError:
                return not self.alive()
        self.session.wait_for(moved, 'the next page')
        return self.page() if self.alive() else None

    def alive(self):
        return any(w['handle'] == self.frame['handle'] for w in self.session.windows())

    def question(self, text='', timeout=30):
        """A message box the frame shows (not the frame), whose texts contain `text`."""
        return self.session.wait('', text, timeout, skip=[self.frame])

    def answer(self, text, button, timeout=30):
        """Waits for the message box with that text, presses the button, waits until it has
        gone; returns the box as it was."""
        box = self.question(text, timeout)
        self.session.press(box, button)
        self.session.gone(box)
        return box

    def exit_code(self, timeout=60):
        """Waits until the installer (and whatever it started) has ended; its exit code. Raises
        with the windows still shown when it does not end in time."""
        shown = [(w['cls'], w['caption'], w['text']) for w in self.session.windows()]
        code = self.session.finish(timeout)
        if code is None:
            raise DriverError(f'the installer did not end within {timeout} s; windows shown '
                              f'when it was waited for: {shown}; still running then: '
                              f'{self.session.still_running}')
        return code

    def screenshot(self, path):
        return self.session.screenshot(path)
