# Writes the workbooks of the cell tests into a folder (run with /usr/bin/python3, which has xlwt):
#   cells.xls      sheet "cells": one row per case, column A the case's name, column B the cell;
#                  sheet "sparse": two values, then formatted blank cells down to IV65536;
#   cells1904.xls  the same dates in a workbook that counts days from 1904;
#   prices.xls     sheet "s261210": a price sheet (kodo, 銘柄, owari) with the cells of real sheets
#                  (codes and prices as texts, a code twice, prices in Japanese general formats);
#   cards.xls      sheet "cards": card rows (ID, 情報源, 日付, 銘柄, コード, 市場, 単位, 情報);
#   damaged copies of a price workbook of 240 stocks ("s261210"): long.xls whole, zeroed.xls with
#   a block of its workbook stream zeroed, sst.xls with a string index out of range, past_end.xls
#   whose last record runs past the end of the stream.
# xlwt writes formulas without a computed value; the cells below that need one are written as
# FORMULA records (and STRING records for a text result) of our own through a raw cell.
import datetime
import struct
import sys

import xlwt
from xlwt import BIFFRecords

folder = sys.argv[1]
NOTE = '株価の覚え書き' * 1715 + '終'          # 12,006 characters, written through the SST
LONGEST = ('あいうえおかきくけこ' * 3277)[:32766] + '尾'   # 32,767 characters


def record(rid, body):
    return struct.pack('<HH', rid, len(body)) + body


def unicode_body(text):
    """A BIFF8 string of up to 8,000 characters, stored in two bytes a character."""
    return struct.pack('<HB', len(text), 1) + text.encode('utf-16-le')


class RawCell:
    """A cell written as the records given (xlwt copies them into the row's cell block)."""
    __slots__ = ['rowx', 'colx', 'xf_idx', 'data']

    def __init__(self, rowx, colx, data):
        self.rowx, self.colx, self.xf_idx, self.data = rowx, colx, 15, data

    def get_biff_data(self):
        return self.data


def formula(row, col, xf, result, string_records=b''):
    rpn = xlwt.Formula("4000+321").rpn()   # the formula text does not matter to a reader
    body = struct.pack('<3H', row, col, xf) + result + struct.pack('<HL', 0, 0) + rpn
    return RawCell(row, col, record(0x0006, body) + string_records)


def cached_number(value):
    return struct.pack('<d', value)


def cached_special(kind, value=0):
    return struct.pack('<BBBBHH', kind, 0, value, 0, 0, 0xFFFF)


def string_record(text, split=None):
    """A STRING record; with split, its characters continue in a CONTINUE record (option byte first)."""
    if split is None:
        return record(0x0207, unicode_body(text))
    head = struct.pack('<HB', len(text), 0) + text[:split].encode('latin-1')
    return record(0x0207, head) + record(0x003C, b'\x01' + text[split:].encode('utf-16-le'))


def label(row, col, text):
    return RawCell(row, col, record(0x0204, struct.pack('<3H', row, col, 15) + unicode_body(text)))


def cells_sheet(wb, ws, date1904=False):
    styles = {
        'ymd': xlwt.easyxf(num_format_str='yyyy/mm/dd'),
        'builtin14': xlwt.easyxf(num_format_str='M/D/YY'),
        'japanese': xlwt.easyxf(num_format_str='yyyy"年"m"月"d"日"'),
        'era': xlwt.easyxf(num_format_str='[$-411]ggge"年"m"月"d"日"'),
        'datetime': xlwt.easyxf(num_format_str='yyyy/mm/dd hh:mm'),
        'time': xlwt.easyxf(num_format_str='hh:mm'),
        'decimals': xlwt.easyxf(num_format_str='0.00'),
        'scientific': xlwt.easyxf(num_format_str='0.00E+00'),
        'quoted': xlwt.easyxf(num_format_str='"d"#,##0'),
        'red': xlwt.easyxf(num_format_str='[Red]#,##0'),
    }
    xf = {name: wb.add_style(style) for name, style in styles.items()}
    rows = []

    def case(name, write):
        r = len(rows) + 1
        rows.append(name)
        ws.write(r, 0, name)
        write(r)

    case('whole number', lambda r: ws.write(r, 1, 7203))
    case('fraction', lambda r: ws.write(r, 1, 1234.5))
    case('hundredths', lambda r: ws.write(r, 1, 12.34))
    case('big number', lambda r: ws.write(r, 1, 3000000000))
    case('negative', lambda r: ws.write(r, 1, -15))
    case('text 0123', lambda r: ws.write(r, 1, '0123'))
    case('text 007', lambda r: ws.write(r, 1, '007'))
    case('text 1e3', lambda r: ws.write(r, 1, '1e3'))
    case('text nan', lambda r: ws.write(r, 1, 'nan'))
    case('text spaces', lambda r: ws.write(r, 1, ' 日立 '))
    case('empty text', lambda r: ws.write(r, 1, ''))
    case('label record', lambda r: ws.row(r).insert_cell(1, label(r, 1, 'ラベル')))
    case('date', lambda r: ws.write(r, 1, datetime.date(2024, 9, 30), styles['ymd']))
    case('date builtin 14', lambda r: ws.write(r, 1, datetime.date(2024, 9, 30), styles['builtin14']))
    case('date japanese', lambda r: ws.write(r, 1, datetime.date(2024, 9, 30), styles['japanese']))
    case('date era', lambda r: ws.write(r, 1, datetime.date(2024, 9, 30), styles['era']))
    case('date and time', lambda r: ws.write(r, 1, datetime.datetime(2024, 9, 30, 15, 30), styles['datetime']))
    case('time', lambda r: ws.write(r, 1, datetime.time(12, 0), styles['time']))
    case('early date', lambda r: ws.write(r, 1, datetime.date(1900, 1, 15), styles['ymd']))
    case('leap day 1900', lambda r: ws.write(r, 1, 60, styles['ymd']))   # the 29th of February 1900 the spreadsheet counts
    case('decimals format', lambda r: ws.write(r, 1, 7203, styles['decimals']))
    case('scientific format', lambda r: ws.write(r, 1, 1500, styles['scientific']))
    case('quoted d format', lambda r: ws.write(r, 1, 45565, styles['quoted']))
    case('red format', lambda r: ws.write(r, 1, 45565, styles['red']))
    case('true', lambda r: ws.write(r, 1, True))
    case('false', lambda r: ws.write(r, 1, False))
    case('error n/a', lambda r: ws.row(r).set_cell_error(1, 0x2A))
    case('error div0', lambda r: ws.row(r).set_cell_error(1, 0x07))
    case('error value', lambda r: ws.row(r).set_cell_error(1, 0x0F))
    case('error ref', lambda r: ws.row(r).set_cell_error(1, 0x17))
    case('formula number', lambda r: ws.row(r).insert_cell(1, formula(r, 1, 15, cached_number(4321))))
    case('formula half', lambda r: ws.row(r).insert_cell(1, formula(r, 1, 15, cached_number(1235.5))))
    case('formula date', lambda r: ws.row(r).insert_cell(1, formula(r, 1, xf['ymd'], cached_number(45565))))
    case('formula text', lambda r: ws.row(r).insert_cell(
        1, formula(r, 1, 15, cached_special(0), string_record('計算した文字'))))
    case('formula text continued', lambda r: ws.row(r).insert_cell(
        1, formula(r, 1, 15, cached_special(0), string_record('abc続きの文字', split=3))))
    case('formula true', lambda r: ws.row(r).insert_cell(1, formula(r, 1, 15, cached_special(1, 1))))
    case('formula error', lambda r: ws.row(r).insert_cell(1, formula(r, 1, 15, cached_special(2, 0x07))))
    case('formula empty text', lambda r: ws.row(r).insert_cell(1, formula(r, 1, 15, cached_special(3))))
    case('formula uncomputed', lambda r: ws.write(r, 1, xlwt.Formula('4000+321')))
    case('note 12000', lambda r: ws.write(r, 1, NOTE))
    case('longest text', lambda r: ws.write(r, 1, LONGEST))
    case('blank', lambda r: ws.write(r, 1, None, styles['ymd']))
    # Numbers side by side (one MULRK record), the last case.
    case('row of numbers', lambda r: [ws.write(r, c, v) for c, v in ((1, 1), (2, 2), (3, 3))])
    ws.write(0, 0, 'case')
    ws.write(0, 1, 'cell')
    # Formatted blank cells under the last row are no rows.
    for r in range(len(rows) + 1, len(rows) + 20):
        ws.write(r, 1, None, styles['ymd'])


def sparse_sheet(ws):
    ws.write(0, 0, 'a')
    ws.write(1, 1, 5)
    blank = xlwt.easyxf('pattern: pattern solid;')
    ws.write(65535, 255, None, blank)
    ws.write(3000, 100, None, blank)


def cells_book(path, date1904):
    wb = xlwt.Workbook(encoding='utf-8')
    wb.dates_1904 = date1904
    cells_sheet(wb, wb.add_sheet('cells'))
    sparse_sheet(wb.add_sheet('sparse'))
    wb.save(path)


def prices_book(path):
    wb = xlwt.Workbook(encoding='utf-8')
    ws = wb.add_sheet('s261210')
    for c, title in enumerate(['kodo', '銘柄', 'owari']):
        ws.write(0, c, title)
    ymd = xlwt.easyxf(num_format_str='yyyy/mm/dd')
    rows = [
        (1301, 'エラー', ('error', 0x2A)),
        (1332, '真', True),
        (1333, '計算', ('formula', 4321)),
        (1334, '計算半', ('formula', 1234.5)),
        ('1352', '文字の番号', 700),
        (1376, '日付', ('date', datetime.date(2024, 9, 30))),
        (True, '真の番号', 900),
        (1377, '割り', ('error', 0x07)),
        (1414, '普通', 1500),
        ('７３０１', '全角の番号', 800),
        (1414, '二度目', 1600),
        (1417, '指数の文字', '1e3'),
        (1418, '全角の値', '１２３４'),
        # Japanese general formats, with units
        (1419, '円', ('format', 'G/標準"円"', 2069)),
        (1420, '株', ('format', '[$-411]G/標準"株"', 45565)),
        (1421, '漢数字', ('format', '[DBNum1]G/標準', 712.5)),
    ]
    for r, (code, name, close) in enumerate(rows, start=1):
        ws.write(r, 0, code)
        ws.write(r, 1, name)
        if isinstance(close, tuple) and close[0] == 'error':
            ws.row(r).set_cell_error(2, close[1])
        elif isinstance(close, tuple) and close[0] == 'formula':
            ws.row(r).insert_cell(2, formula(r, 2, 15, cached_number(close[1])))
        elif isinstance(close, tuple) and close[0] == 'date':
            ws.write(r, 2, close[1], ymd)
        elif isinstance(close, tuple) and close[0] == 'format':
            ws.write(r, 2, close[2], xlwt.easyxf(num_format_str=close[1]))
        else:
            ws.write(r, 2, close)
    wb.save(path)


def cards_book(path):
    wb = xlwt.Workbook(encoding='utf-8')
    ws = wb.add_sheet('cards')
    for c, title in enumerate(['ID', '情報源', '日付', '銘柄', 'コード', '市場', '単位', '情報']):
        ws.write(0, c, title)
    ymd = xlwt.easyxf(num_format_str='yyyy/mm/dd')
    rows = [
        [1, '0123', (datetime.date(2024, 9, 30),), '日立', 7203, '東証１部', 'D100', '007'],
        [2, (datetime.date(2024, 9, 30),), 7203, 'トヨタ', True, '', '', NOTE],
        [3, '1e3', '2024/10/01', 'nan', '0123', '', '', 1234.5],
        [4, ('error', 0x2A), (datetime.date(2024, 10, 2),), '誤り', ('formula', 6758), '', '', ''],
    ]
    for r, row in enumerate(rows, start=1):
        for c, v in enumerate(row):
            if isinstance(v, tuple) and len(v) == 1:
                ws.write(r, c, v[0], ymd)
            elif isinstance(v, tuple) and v[0] == 'error':
                ws.row(r).set_cell_error(c, v[1])
            elif isinstance(v, tuple) and v[0] == 'formula':
                ws.row(r).insert_cell(c, formula(r, c, 15, cached_number(v[1])))
            elif v != '':
                ws.write(r, c, v)
    wb.save(path)


def records(stream):
    pos = 0
    while pos + 4 <= len(stream):
        rid, length = struct.unpack_from('<HH', stream, pos)
        yield pos, rid, length
        pos += 4 + length


def damaged_books(folder):
    wb = xlwt.Workbook(encoding='utf-8')
    ws = wb.add_sheet('s261210')
    for c, title in enumerate(['kodo', '銘柄', 'owari']):
        ws.write(0, c, title)
    for r in range(1, 241):
        ws.write(r, 0, 1300 + r)
        ws.write(r, 1, '銘柄%d' % r)
        ws.write(r, 2, 1000 + r)
    stream = bytearray(wb.get_biff_data())
    from xlwt import CompoundDoc
    CompoundDoc.XlsDoc().save(folder + '/long.xls', bytes(stream))
    zeroed = bytearray(stream)
    middle = len(zeroed) * 2 // 3
    zeroed[middle:middle + 512] = bytes(512)
    CompoundDoc.XlsDoc().save(folder + '/zeroed.xls', bytes(zeroed))
    sst = bytearray(stream)
    pos = next(p for p, rid, _ in records(sst) if rid == 0x00FD)
    struct.pack_into('<L', sst, pos + 10, 999999)
    CompoundDoc.XlsDoc().save(folder + '/sst.xls', bytes(sst))
    past = bytearray(stream)
    last = list(records(past))[-1][0]
    struct.pack_into('<H', past, last + 2, 8224)
    CompoundDoc.XlsDoc().save(folder + '/past_end.xls', bytes(past))


damaged_books(folder)
cells_book(folder + '/cells.xls', False)
cells_book(folder + '/cells1904.xls', True)
prices_book(folder + '/prices.xls')
cards_book(folder + '/cards.xls')
