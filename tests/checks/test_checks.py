#!/usr/bin/env python3
"""The source checks name what they must, on small fixture trees."""
import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))
import check_layers  # noqa: E402


def fixture(name):
    return os.path.join(HERE, name)


class LayerCheck(unittest.TestCase):
    def test_names_an_include_from_a_later_layer_and_a_core_file_reaching_a_screen(self):
        root = fixture("layers_bad")
        offences = check_layers.check_includes(root, os.path.join(root, "layers.txt"))
        self.assertEqual(sorted(offences), [
            "high/rule.cpp:2: layer high includes high/forms/screen.h of the later layer high/forms",
            "low/base.cpp:3: layer low includes high/rule.h of the later layer high",
        ])

    def test_passes_a_tree_that_includes_only_downwards(self):
        root = fixture("layers_good")
        self.assertEqual(check_layers.check_includes(root, os.path.join(root, "layers.txt")), [])

    def test_a_core_layer_never_includes_a_screen_layer_even_one_listed_before_it(self):
        root = fixture("layers_bad")
        with tempfile.TemporaryDirectory() as folder:
            layers = os.path.join(folder, "layers.txt")
            with open(layers, "w", encoding="utf-8") as f:
                f.write("low core\nhigh/forms screen\nhigh core\n")
            offences = check_layers.check_includes(root, layers)
        self.assertIn("high/rule.cpp:2: core layer high includes high/forms/screen.h "
                      "of the screen layer high/forms", offences)


class FormsCheck(unittest.TestCase):
    def test_names_sql_names_and_statements_in_forms_only(self):
        offences = check_layers.check_forms(fixture("forms_bad"))
        self.assertEqual(offences, [
            "shop/forms/list.cpp:2: a form names QSqlQuery",
            "shop/forms/list.cpp:3: a form names QSqlQuery",
            'shop/forms/order.cpp:2: SQL in a form: "a.a_jyt, a.id"',
        ])


if __name__ == "__main__":
    unittest.main()
