#!/usr/bin/python3
"""kept.py: the kept files in the browser: in IndexedDB at once, read back after a reload, loaded
back by the player, merged where two tabs each enter a great score, and a full storage taken
calmly.

Run after tools/web.sh: /usr/bin/python3 tests/web/kept.py
"""

import unittest

from browser import *

# Ten rows below any score a game can make: a game of no points enters the table.
LOW_TABLE = ''.join('low%d 1 0 -%d\n' % (row, row + 1) for row in range(10))


def setUpModule():
    global server
    server = Server()


def tearDownModule():
    server.stop()


class Kept(unittest.TestCase):
    def setUp(self):
        self.browser = Browser(server)
        self.addCleanup(self.browser.quit)

    def tab(self):
        tab = self.browser.tab()
        tab.wait_for_picture()
        return tab

    def leave_options(self, tab):
        """Opens the options page from the main page and goes back with Escape."""
        tab.click(*OPTIONS)
        tab.wait_for(options_page, 'the options page')
        tab.hold(Keys.ESCAPE)
        tab.wait_for(main_page, 'the main page again')

    def test_a_switch_is_stored_at_once_read_back_after_a_reload_and_the_page_says_so_once(self):
        tab = self.tab()
        self.assertFalse(tab.run("return document.getElementById('storage').hidden === false"))
        tab.click(*OPTIONS)
        options = tab.wait_for(options_page, 'the options page')
        tab.click(*MUSIC_SWITCH)
        tab.wait_for_new_picture(options, 'music switched off')
        tab.hold(Keys.ESCAPE)
        tab.wait_for_stored('opt.dat', '0\n1\n0\n')
        # The first file kept: the page says where, and that the browser's owner may clear it.
        self.assertTrue(tab.run("return !document.getElementById('storage').hidden"))
        # And offers the file to download, as kept.
        self.assertEqual(tab.front().execute_async_script("""
            var done = arguments[arguments.length - 1], link = document.getElementById('kept').querySelector('a');
            fetch(link.href).then(function (got) { return got.text(); }).then(function (text) {
                done([link.download, text]); });"""), ['opt.dat', '0\n1\n0\n'])

        tab.front().refresh()
        tab.wait_for_picture()
        self.assertTrue(tab.run("return document.getElementById('storage').hidden"), 'said once only')
        # The game read the switch back: leaving the options page saves it as it read it.
        self.leave_options(tab)
        self.assertEqual(tab.kept('opt.dat'), '0\n1\n0\n')
        self.assertEqual(tab.stored('opt.dat'), '0\n1\n0\n')
        self.assertEqual(tab.console_errors(), [])

    def test_files_loaded_back_are_stored_as_they_are_and_read_as_at_start(self):
        tab = self.tab()
        tab.load_files(file_to_load(self, 'opt.dat', '0 1 1 and more\n'), file_to_load(self, 'notes.txt', 'not a kept file\n'))
        tab.wait_for_stored('opt.dat', '0 1 1 and more\n')
        self.assertIsNone(tab.kept('notes.txt'))
        self.leave_options(tab)
        self.assertEqual(tab.kept('opt.dat'), '0\n1\n1\n')
        tab.wait_for_stored('opt.dat', '0\n1\n1\n')
        self.assertEqual(tab.console_errors(), [])

    def test_two_tabs_each_entering_a_great_score_keep_both(self):
        first = self.tab()
        first.load_files(file_to_load(self, 'dex.dll', LOW_TABLE))
        first.wait_for_stored('dex.dll', LOW_TABLE)
        # The second tab reads the table before the first enters its result.
        second = self.tab()
        self.assertEqual(second.kept('dex.dll'), LOW_TABLE)

        play_to_name_entry(first, 'anna')
        wait_until('anna stored', lambda: 'anna 1 ' in (first.stored('dex.dll') or ''))
        self.assertNotIn('anna', second.kept('dex.dll'))
        play_to_name_entry(second, 'bert')
        wait_until('bert stored', lambda: 'bert 1 ' in (second.stored('dex.dll') or ''))

        table = second.stored('dex.dll').splitlines()
        self.assertEqual(len(table), 10)
        names = [row.split()[0] for row in table]
        # Both results, in the order they were entered (equal scores), above the rows they pushed down.
        self.assertEqual(names[:2], ['anna', 'bert'])
        self.assertEqual(names[2:], ['low%d' % row for row in range(8)])
        self.assertEqual(second.kept('dex.dll'), second.stored('dex.dll'))
        second.save_picture('two-tabs-high-scores')
        self.assertEqual(first.console_errors() + second.console_errors(), [])

    def test_a_tab_closed_at_once_keeps_the_result_entered_or_being_entered(self):
        keeper = self.tab()
        keeper.load_files(file_to_load(self, 'dex.dll', LOW_TABLE))
        keeper.wait_for_stored('dex.dll', LOW_TABLE)
        for name, confirm in (('dora', True), ('cara', False)):
            tab = self.tab()
            play_to_name_entry(tab, name, confirm)
            # Closed as soon as the key is up (the Return), or during name entry, as a closed
            # window keeps the name typed so far.
            tab.close()
            wait_until(name + ' stored', lambda: (name + ' 1 ') in (keeper.stored('dex.dll') or ''))
        names = [row.split()[0] for row in keeper.stored('dex.dll').splitlines()]
        self.assertEqual(names[:3], ['dora', 'cara', 'low0'])

    def test_storage_refused_is_said_once_in_the_console_and_the_game_plays_on(self):
        # The site's data blocked, as a browser's owner may have it for every site.
        refusing = Browser(server, preferences={'profile.default_content_setting_values.cookies': 2})
        self.addCleanup(refusing.quit)
        tab = refusing.tab()
        tab.wait_for_picture()
        self.leave_options(tab)
        self.assertEqual(tab.kept('opt.dat'), '0\n0\n0\n')
        said = [entry['message'] for entry in tab.console() if 'the game plays on' in entry['message']]
        self.assertEqual(len(said), 1, said)
        self.assertNotIn('no reason given', said[0])
        self.assertTrue(tab.run("return document.getElementById('storage').hidden"), 'nothing kept, nothing said')
        self.assertEqual(tab.console_errors(), [])

    def test_a_full_storage_is_said_once_in_the_console_and_the_game_plays_on(self):
        tab = self.tab()
        tab.front().execute_cdp_cmd('Storage.overrideQuotaForOrigin',
                                    {'origin': server.origin.rstrip('/'), 'quotaSize': 1})
        self.leave_options(tab)
        self.leave_options(tab)
        self.assertEqual(tab.kept('opt.dat'), '0\n0\n0\n')
        self.assertIsNone(tab.stored('opt.dat'))
        said = [entry['message'] for entry in tab.console() if 'the game plays on' in entry['message']]
        self.assertEqual(len(said), 1, said)
        self.assertEqual(tab.said(), '')
        self.assertEqual(tab.console_errors(), [])


if __name__ == '__main__':
    unittest.main(verbosity=2)
