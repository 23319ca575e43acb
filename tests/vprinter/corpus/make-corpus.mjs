// Makes the receipt streams of tests/vprinter/corpus with four open-source ESC/POS encoders.
// Run by hand, never by the tests:
//   mkdir /tmp/c && cd /tmp/c && npm install receiptline node-thermal-printer escpos-buffer \
//       @point-of-sale/receipt-printer-encoder
//   CORPUS_MODULES=/tmp/c/node_modules node make-corpus.mjs OUTDIR
// Each stream's line in corpus.txt says what its receipts must show.
import { createRequire } from 'node:module';
import { writeFileSync, appendFileSync } from 'node:fs';
import { join } from 'node:path';

const require = createRequire(join(process.env.CORPUS_MODULES, 'x.js'));
const out = process.argv[2] ?? '.';
const lines = [];
const save = (name, bytes, shows) => {
    writeFileSync(join(out, name + '.bin'), Buffer.from(bytes));
    lines.push(`${name}.bin: ${shows}`);
};

// receiptline: columns, right alignment, a QR code and a Code 128, and a cut between two receipts.
{
    const receiptline = require('receiptline');
    const doc = [
        '^^^TALLYX CAFE',
        'Item | Qty | Price',
        '-',
        'Coffee | 2 | 7.00',
        'Cake | 1 | 6.50',
        '-',
        '^TOTAL | ^13.50',
        '{code:https://tallyx.example/r/42; option:qrcode,4,m}',
        '=',
        'Second receipt',
        '{code:TALLYX42; option:code128,2,72,hri}',
        '=',
    ].join('\n');
    const printer = { cpl: 48, encoding: 'multilingual', command: 'escpos', upsideDown: false, spacing: false, cutting: true };
    save('receiptline', Buffer.from(receiptline.transform(doc, printer), 'binary'),
        'two receipts; "Item", "Qty", "Price" in three columns; "TOTAL" left and "13.50" right on one line; ' +
        'QR https://tallyx.example/r/42; Code 128 TALLYX42');
    // receiptline's own SVG of the same receipt, a second opinion on the layout (not kept).
    writeFileSync(join(out, 'receiptline.svg'), receiptline.transform(doc, { cpl: 48, encoding: 'multilingual', spacing: false }));
}

// node-thermal-printer: accents and the Euro in PC858, a table, Code 128, QR, cut.
{
    const { ThermalPrinter, PrinterTypes, CharacterSet } = require('node-thermal-printer');
    const p = new ThermalPrinter({ type: PrinterTypes.EPSON, interface: 'tcp://127.0.0.1:9', characterSet: CharacterSet.PC858_EURO, width: 48 });
    p.alignCenter();
    p.println('Café Crème');
    p.alignLeft();
    p.println('Total: 12,50 €');
    p.tableCustom([{ text: 'Left', align: 'LEFT', width: 0.5 }, { text: 'Right', align: 'RIGHT', width: 0.5 }]);
    p.code128('NTP12345');
    p.printQR('node-thermal-printer');
    p.cut();
    save('node-thermal-printer', p.getBuffer(),
        'one receipt; "Café Crème" centred; "Total: 12,50 €"; "Left" at the left and "Right" at the right; ' +
        'Code 128 NTP12345; QR node-thermal-printer');
}

// escpos-buffer: two receipts separated by its cut, accents in its code page.
{
    const { Printer, InMemory, Align, Style } = require('escpos-buffer');
    const connection = new InMemory();
    const printer = await Printer.CONNECT('TM-T20', connection);
    await printer.writeln('Áçênts R$ 5,00', 0, Align.Center);
    await printer.writeln('Bold', Style.Bold);
    await printer.qrcode('escpos-buffer', 4);
    await printer.feed(2);
    await printer.cutter();
    await printer.writeln('Second receipt');
    await printer.cutter();
    save('escpos-buffer', connection.buffer(),
        'two receipts; "Áçênts R$ 5,00" centred; QR escpos-buffer; second receipt "Second receipt"');
}

// receipt-printer-encoder: Epson code pages by number, box drawing, a table, GS1 barcodes, QR, cut.
{
    const ReceiptPrinterEncoder = require('@point-of-sale/receipt-printer-encoder');
    const e = new ReceiptPrinterEncoder({ printerModel: 'epson-tm-t88vi', columns: 48 });
    e.initialize()
        .codepage('auto').line('Grüße, Ελληνικά, Привет, щука')
        .box({ width: 20 }, 'Boxed')
        .table([{ width: 20, align: 'left' }, { width: 20, align: 'right' }], [['Left', 'Right']])
        .barcode('3130303435', 'code128', 60)
        .qrcode('receipt-printer-encoder')
        .cut();
    save('receipt-printer-encoder', e.encode(),
        'one receipt; "Grüße, Ελληνικά, Привет, щука"; a single-line box around "Boxed"; "Left" and "Right" columns; ' +
        'Code 128 3130303435; QR receipt-printer-encoder');
}

// receiptline again: ten Code 128 barcodes on one receipt, what `make bench` draws by the thousand.
{
    const receiptline = require('receiptline');
    const codes = Array.from({ length: 10 }, (_, i) => `{code:TALLYX${String(i).padStart(4, '0')}; option:code128,2,72,hri}`);
    const doc = ['^TEN BARCODES', ...codes, '='].join('\n');
    const printer = { cpl: 48, encoding: 'multilingual', command: 'escpos', upsideDown: false, spacing: false, cutting: true };
    save('ten-barcodes', Buffer.from(receiptline.transform(doc, printer), 'binary'),
        'one receipt; "TEN BARCODES"; Code 128 TALLYX0000 to TALLYX0009, each with its readable line');
}

writeFileSync(join(out, 'corpus.txt'), lines.join('\n') + '\n');
