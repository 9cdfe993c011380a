#!/usr/bin/env python3
"""Reads a workbook of `calculator --table --xlsx` with openpyxl and the chart's own XML, as a
spreadsheet program would, and checks what the export promises: the sheets, the cells with
their types, 30 function columns (past column Z) and one scatter series per function."""
import os
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
import zipfile

import openpyxl

CALCULATOR = sys.argv.pop(1)
CHART = "{http://schemas.openxmlformats.org/drawingml/2006/chart}"
FUNCTIONS = 30


class WorkbookTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.path = os.path.join(cls.folder.name, "table.xlsx")
        definitions = ",".join(f"f{n}(x)~x*{n}" for n in range(1, FUNCTIONS - 1))
        definitions += ",c(x)~1/x,k(x)~Complex(x,1),other(t)~t"
        run = subprocess.run([CALCULATOR, "--table", "--from", "0", "--to", "1", "--defs",
                              definitions, "--xlsx", cls.path],
                             capture_output=True, text=True, check=True)
        cls.csv = run.stdout.splitlines()
        cls.book = openpyxl.load_workbook(cls.path)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_sheets(self):
        self.assertEqual(self.book.sheetnames, ["Sheet1", "Chart1"])
        self.assertEqual([s.title for s in self.book.chartsheets], ["Chart1"])

    def test_cells_hold_the_grid_without_row_numbers(self):
        sheet = self.book["Sheet1"]
        self.assertEqual(sheet.max_row, 12)
        self.assertEqual(sheet.max_column, 1 + FUNCTIONS)
        self.assertEqual(sheet["A1"].value, "x")
        self.assertEqual(sheet["B1"].value, "f1(x)")
        self.assertEqual(sheet["AC1"].value, "f28(x)")
        self.assertEqual(sheet["AD1"].value, "c(x)")
        self.assertEqual(sheet["AE1"].value, "k(x)")
        self.assertEqual(sheet["A12"].value, 1)
        self.assertEqual(sheet["A12"].data_type, "n")
        self.assertAlmostEqual(sheet["AC5"].value, 28 * 0.3)
        self.assertEqual(sheet["AD2"].value, "#NUM!")
        self.assertEqual(sheet["AD2"].data_type, "s")
        self.assertEqual(sheet["AD3"].value, 10)
        self.assertEqual(sheet["AE3"].value, "Complex(0.1, 1)")
        # The same texts as the comma file, row by row.
        self.assertEqual(self.csv[0].split(",")[1:4], ["x", "f1(x)", "f2(x)"])

    def test_chart_sheet_holds_one_scatter_series_per_function(self):
        with zipfile.ZipFile(self.path) as archive:
            charts = [n for n in archive.namelist() if n.startswith("xl/charts/chart")]
            self.assertEqual(len(charts), 1)
            root = ET.fromstring(archive.read(charts[0]))
        scatter = root.find(f".//{CHART}scatterChart")
        self.assertIsNotNone(scatter)
        self.assertEqual(scatter.find(f"{CHART}scatterStyle").get("val"), "lineMarker")
        series = scatter.findall(f"{CHART}ser")
        self.assertEqual(len(series), FUNCTIONS)
        formulas = [(s.find(f"{CHART}xVal//{CHART}f").text, s.find(f"{CHART}yVal//{CHART}f").text,
                     s.find(f"{CHART}tx//{CHART}f").text) for s in series]
        self.assertEqual(formulas[0], ("Sheet1!$A$2:$A$12", "Sheet1!$B$2:$B$12", "Sheet1!$B$1"))
        self.assertEqual(formulas[-1],
                         ("Sheet1!$A$2:$A$12", "Sheet1!$AE$2:$AE$12", "Sheet1!$AE$1"))


if __name__ == "__main__":
    unittest.main()
