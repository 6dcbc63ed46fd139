#!/usr/bin/python3
"""Writes the price workbooks of the demo folder.

Usage: make_workbooks.py PRICES.csv FOLDER

PRICES.csv has the header workbook,sheet,code,name,close and one row per stock and period. Each
workbook becomes FOLDER/<workbook>.xls with its sheets; a sheet has the header row kodo, meigara,
owari, then the code, the name and the closing price of every stock. A code or a price is written
as a whole number, a fraction or a text as it reads; an empty one leaves its cell empty, so a row
with all three empty gives a sheet with its header row only.
"""
import csv
import os
import sys

import xlwt


def cell(text):
    """A cell's value: a number where the text reads as one, else the text."""
    for kind in (int, float):
        try:
            return kind(text)
        except ValueError:
            pass
    return text


def main(prices_path, folder):
    books = {}
    with open(prices_path, encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f):
            sheets = books.setdefault(row["workbook"], {})
            sheets.setdefault(row["sheet"], []).append((row["code"], row["name"], row["close"]))
    for book, sheets in books.items():
        workbook = xlwt.Workbook(encoding="utf-8")
        for sheet_name, rows in sheets.items():
            sheet = workbook.add_sheet(sheet_name)
            for col, title in enumerate(("kodo", "meigara", "owari")):
                sheet.write(0, col, title)
            for r, values in enumerate(rows, start=1):
                for col, text in enumerate(values):
                    if text != "":
                        sheet.write(r, col, text if col == 1 else cell(text))
        workbook.save(os.path.join(folder, book + ".xls"))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
