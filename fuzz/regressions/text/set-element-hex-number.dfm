object Form1: TForm
  Font.Style = [$1F]
end
